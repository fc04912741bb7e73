#pragma once
// What the drawing benchmarks share about timing frames under Wine.
//
// The first frames after a device is made wait for Wine's rendering thread to
// start and for the driver to compile every shader the frame uses: seconds
// with the software rasteriser, however little the frame draws. Timed with
// the rest they swamp it (Google Benchmark stops after one or two such
// iterations), so frames are timed only after these warm-up frames, and a
// benchmark that makes its own device runs a fixed number of frames, making
// the device once.

#include <windows.h>

#include <cstdint>

inline constexpr int32_t kWarmUpFrames = 10;
inline constexpr int32_t kTimedFrames = 120;

// Seconds on the performance counter.
inline double SecondsNow()
{
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}
