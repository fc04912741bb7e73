#pragma once
// A sound file's PCM data as the mixer takes it: 16-bit signed samples, mono
// or stereo, delivered on request either all at once or piece by piece for a
// streamed voice. A file that fails its checks still gives a SoundData, which
// delivers no data, so a voice made from it is silent.

#include "engine/files/WideString.h"

#include <atomic>
#include <cstdint>

constexpr int32_t kEndlessLoops = -1;
constexpr int16_t kPcmFormatTag = 1;

struct SoundFormat {
    int16_t formatTag = 0;
    int16_t channels = 0;
    int32_t sampleRate = 0;
    int32_t bytesPerSecond = 0;
    int16_t blockAlign = 0;
    int16_t bitsPerSample = 0;
};

class SoundData {
public:
    explicit SoundData(const WideString& fileName) : fileName_(fileName) {}
    virtual ~SoundData() = default;
    SoundData(const SoundData&) = delete;
    SoundData& operator=(const SoundData&) = delete;

    // Fills up to count bytes and answers how many it delivered; a negative
    // answer is a decoding error. Called from one thread at a time.
    virtual int32_t Read(void* destination, int32_t count) = 0;
    // kEndlessLoops, or the passes left including the current one.
    virtual void SetLoops(int32_t loops) { loopCount_ = loops; }
    virtual void Seek(float seconds) = 0;
    virtual float Tell() = 0;
    virtual float Length();

    const WideString& GetFileName() const { return fileName_; }
    const SoundFormat& GetFormat() const { return format_; }
    // Size of all PCM data, as delivered.
    int32_t GetTotalBytes() const { return totalBytes_; }
    int32_t GetLoops() const { return loopCount_; }

protected:
    // Whether another pass follows the one that just ended; counts it off.
    bool TakeAnotherPass();

    WideString fileName_;
    // Set by the main thread while a streaming thread reads.
    std::atomic<int32_t> loopCount_{1};
    SoundFormat format_;
    int32_t totalBytes_ = 0;
};

// Stands in for a sound that cannot be found: one second of silence.
class SilentSoundData : public SoundData {
public:
    SilentSoundData();

    int32_t Read(void* destination, int32_t count) override;
    void SetLoops(int32_t) override {}
    void Seek(float) override {}
    float Tell() override { return 0.0f; }
};
