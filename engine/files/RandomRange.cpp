#include "engine/files/RandomRange.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>

namespace {

// Spreads every input bit over the whole word, so that process ids and times
// a few apart give unrelated seeds.
uint32_t Mix(uint32_t value)
{
    value ^= value >> 16;
    value *= 0x7FEB352Du;
    value ^= value >> 15;
    value *= 0x846CA68Bu;
    value ^= value >> 16;
    return value;
}

} // namespace

void SeedRandomSequence()
{
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    const uint32_t seed = Mix(static_cast<uint32_t>(std::time(nullptr))) ^ Mix(GetCurrentProcessId() + 0x9E3779B9u)
        ^ Mix(static_cast<uint32_t>(counter.QuadPart) ^ static_cast<uint32_t>(counter.QuadPart >> 32));
    std::srand(seed);
}

float RandomRange(float lo, float hi)
{
    // 1/RAND_MAX rounded to single precision; the sum is formed in extended
    // precision and only the result is rounded.
    constexpr float kStep = 1.0f / 32767.0f;
    const long double r = std::rand();
    return static_cast<float>(lo + r * (static_cast<long double>(hi - lo) * kStep));
}
