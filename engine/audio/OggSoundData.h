#pragma once
// An Ogg Vorbis file decoded with libvorbisfile over the engine's own stream.
// Each Read delivers at most one decoding step. A streaming thread reads it
// while the main thread may seek it: its lock keeps the decoder's calls apart.

#include "engine/audio/SoundData.h"
#include "engine/core/CriticalSection.h"
#include "engine/files/Stream.h"

#include <vorbis/vorbisfile.h>

#include <memory>

class OggSoundData : public SoundData {
public:
    explicit OggSoundData(const WideString& fileName);
    ~OggSoundData() override;

    int32_t Read(void* destination, int32_t count) override;
    void Seek(float seconds) override;
    float Tell() override;
    float Length() override;

private:
    static size_t ReadCallback(void* destination, size_t size, size_t count, void* self);
    static int SeekCallback(void* self, ogg_int64_t offset, int origin);
    static int CloseCallback(void* self);
    static long TellCallback(void* self);

    bool OpenDecoder();
    // One decoding step; 0 at the end of the data, negative on an error.
    int32_t Decode(void* destination, int32_t count);

    CriticalSection lock_;
    std::unique_ptr<Stream> stream_;
    OggVorbis_File decoder_{};
    bool opened_ = false;
};
