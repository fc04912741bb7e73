#pragma once
// Shared pieces of the sound tests: buffers of known samples, the sound
// fixtures mounted as the game mounts its data, and polling for the work of
// the device's own threads.

#include "engine/audio/SoundBuffer.h"
#include "engine/audio/SoundLoaderFactory.h"
#include "engine/core/Thread.h"
#include "engine/files/ResourceFactory.h"
#include "tests/support/Fixtures.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

inline std::unique_ptr<SoundBuffer> MakeBuffer(std::vector<int16_t> samples, int32_t rate, bool stereo)
{
    return std::make_unique<SoundBuffer>(std::move(samples), rate, stereo);
}

// Mono samples 1, 2, 3 ... n: a mixed frame's value tells which sample it came from.
inline std::vector<int16_t> CountingSamples(int32_t n)
{
    std::vector<int16_t> samples(n);
    for (int32_t i = 0; i < n; ++i) {
        samples[i] = static_cast<int16_t>(i + 1);
    }
    return samples;
}

// Waits for the condition, which other threads bring about. The bound is
// generous: it only ends a run that has already failed.
inline bool WaitUntil(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) {
            return true;
        }
        SleepSeconds(0.005f);
    }
    return condition();
}

// A fixture folder of sounds, mounted, with the sound loaders registered and
// the "Audio" folder searched as the engine searches it.
class MountedSounds {
public:
    explicit MountedSounds(const wchar_t* name) : mounted_(name)
    {
        RegisterSoundLoaders();
        SoundFactory().AddFolder(L"Audio");
    }
    ~MountedSounds() { SoundFactory().RemoveLastFolder(); }
    MountedSounds(const MountedSounds&) = delete;
    MountedSounds& operator=(const MountedSounds&) = delete;

private:
    MountedFixture mounted_;
};

// Stereo 44100 Hz data whose every read waits until the test lets reads
// finish, telling whether a read is under way and whether the data was
// destroyed. A read nobody lets finish ends after ten seconds, so that a
// failing run still ends.
class SlowSoundData : public SoundData {
public:
    struct Trace {
        std::atomic<int32_t> reads{0};
        std::atomic<bool> reading{false};
        std::atomic<bool> destroyed{false};
        Event finish{false};
    };

    explicit SlowSoundData(std::shared_ptr<Trace> trace) : SoundData(L"Slow"), trace_(std::move(trace))
    {
        format_ = {kPcmFormatTag, 2, 44100, 176400, 4, 16};
        totalBytes_ = 176400 * 60;
    }
    ~SlowSoundData() override { trace_->destroyed = true; }

    int32_t Read(void* destination, int32_t count) override
    {
        trace_->reading = true;
        ++trace_->reads;
        trace_->finish.WaitFor(10000);
        std::fill_n(static_cast<int16_t*>(destination), count / 2, int16_t{100});
        trace_->reading = false;
        return count;
    }
    void Seek(float) override {}
    float Tell() override { return 0.0f; }

private:
    std::shared_ptr<Trace> trace_;
};

// Lets the reads finish a moment from now, from a thread of its own, while
// the test goes on to destroy what reads; the moment only makes it likely
// that the destruction meets a read under way.
class FinishReadsShortly {
public:
    explicit FinishReadsShortly(SlowSoundData::Trace& trace)
        : thread_([&trace] {
            SleepSeconds(0.05f);
            trace.finish.Set();
        })
    {
    }
    ~FinishReadsShortly() { thread_.join(); }
    FinishReadsShortly(const FinishReadsShortly&) = delete;
    FinishReadsShortly& operator=(const FinishReadsShortly&) = delete;

private:
    std::thread thread_;
};
