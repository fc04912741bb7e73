#pragma once
// 16-bit samples the mixer plays from: a whole decoded sound, shared by every
// channel that plays it, or the one-second ring a streamed voice plays while
// its streaming thread refills it.

#include "engine/audio/SoundData.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class SoundBuffer {
public:
    SoundBuffer(std::vector<int16_t> samples, int32_t sampleRate, bool stereo);

    // Streamed: one second of silence for the stream to fill. Otherwise the
    // whole sound, read until the data has delivered all it holds.
    static std::unique_ptr<SoundBuffer> FromSoundData(SoundData& data, bool streamed);

    const int16_t* Samples() const { return samples_.data(); }
    int16_t* Samples() { return samples_.data(); }
    int32_t SizeInBytes() const { return static_cast<int32_t>(samples_.size() * sizeof(int16_t)); }
    int32_t Frames() const { return frames_; }
    int32_t SampleRate() const { return sampleRate_; }
    bool IsStereo() const { return stereo_; }
    int32_t BytesPerFrame() const { return stereo_ ? 4 : 2; }

    // The channels bound to it; a cache entry without users may be freed.
    int32_t Users() const { return users_; }
    void AddUser() { ++users_; }
    void RemoveUser() { --users_; }

    void Free();

private:
    std::vector<int16_t> samples_;
    int32_t frames_;
    int32_t sampleRate_;
    bool stereo_;
    std::atomic<int32_t> users_{0};
};
