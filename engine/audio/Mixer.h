#pragma once
// The engine's software mixer: sums the active channels into 32-bit frames,
// clips them to 16-bit stereo at 44100 Hz, and limits how many channels are
// heard. Channels beyond the limit keep moving on in time, silently, so they
// still end on time. Its lock guards the active list, the accumulator, the
// audible maximum and the global pitch; voices take it to join or leave.

#include "engine/audio/Channel.h"
#include "engine/core/CriticalSection.h"

#include <atomic>
#include <cstdint>
#include <vector>

class Mixer {
public:
    static constexpr int32_t kOutputRate = 44100;
    static constexpr int32_t kBytesPerFrame = 4;   // 16-bit stereo
    static constexpr int32_t kBytesPerSecond = kOutputRate * kBytesPerFrame;
    static constexpr int32_t kDefaultAudibleChannels = 64;

    // Mixes a chunk of the given size in bytes; answers its frame count.
    // Channels whose sound ended leave the active list.
    int32_t Mix(int32_t bytes);
    // Writes the last chunk, clipped, as interleaved 16-bit samples, left first.
    void Output(void* destination) const;

    CriticalSection& GetLock() { return lock_; }
    // Under the lock.
    void AddChannel(Channel& channel);
    void RemoveChannel(Channel& channel);
    const std::vector<Channel*>& ActiveChannels() const { return active_; }

    void SetAudibleChannels(int32_t count);
    int32_t GetAudibleChannels() const { return audible_; }
    // Clamped to the engine's pitch range.
    void SetGlobalPitch(float pitch);
    float GetGlobalPitch() const { return globalPitch_; }
    // Read by the mixer thread while the main thread sets it.
    void SetMuted(bool muted) { muted_ = muted; }
    bool IsMuted() const { return muted_; }

    // The last chunk's sums before clipping: frames of {left, right}.
    const std::vector<int32_t>& Accumulator() const { return accumulator_; }

private:
    // When more channels are active than can be heard, the most important
    // (then the loudest) ones move to the front.
    void SortChannels();

    std::vector<int32_t> accumulator_;
    int32_t frames_ = 0;
    std::vector<Channel*> finished_;
    std::vector<Channel*> active_;
    CriticalSection lock_;
    int32_t audible_ = kDefaultAudibleChannels;
    float globalPitch_ = 1.0f;
    std::atomic<bool> muted_{false};
};
