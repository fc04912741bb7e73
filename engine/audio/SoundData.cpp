#include "engine/audio/SoundData.h"

#include <cstring>

float SoundData::Length()
{
    if (format_.bytesPerSecond <= 0) {
        return 0.0f;
    }
    return static_cast<float>(totalBytes_) / static_cast<float>(format_.bytesPerSecond);
}

bool SoundData::TakeAnotherPass()
{
    int32_t loops = loopCount_.load();
    while (loops == kEndlessLoops || loops > 1) {
        if (loops == kEndlessLoops || loopCount_.compare_exchange_weak(loops, loops - 1)) {
            return true;
        }
    }
    return false;
}

SilentSoundData::SilentSoundData() : SoundData(L"Default")
{
    format_ = {kPcmFormatTag, 1, 22050, 44100, 2, 16};
    totalBytes_ = 44100;
}

int32_t SilentSoundData::Read(void* destination, int32_t count)
{
    if (count <= 0) {
        return 0;
    }
    std::memset(destination, 0, count);
    return count;
}
