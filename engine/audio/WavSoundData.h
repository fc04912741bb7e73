#pragma once
// A RIFF WAVE file of PCM samples: the format chunk must follow the WAVE tag
// and the data chunk the format chunk. 8-bit files are widened to 16 bits as
// they are read, so every reader of the data sees 16-bit samples. It has no
// lock: a streamed file must not be sought while its streaming thread reads.

#include "engine/audio/SoundData.h"
#include "engine/files/Stream.h"

#include <memory>

class WavSoundData : public SoundData {
public:
    explicit WavSoundData(const WideString& fileName);

    int32_t Read(void* destination, int32_t count) override;
    void Seek(float seconds) override;
    float Tell() override;

private:
    bool ReadHeader();
    bool ExpectTag(const char* tag);
    // Reads delivered bytes of the current pass; fewer when the file ends early.
    int32_t ReadSamples(uint8_t* destination, int32_t count);

    std::unique_ptr<Stream> stream_;
    int32_t dataStart_ = 0;
    int32_t readPosition_ = 0;   // delivered bytes into the data
    int32_t widening_ = 1;       // delivered bytes per file byte: 2 for 8-bit files
};
