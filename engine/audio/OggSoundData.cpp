#include "engine/audio/OggSoundData.h"

#include "engine/core/LogHub.h"
#include "engine/files/ArchiveList.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr int kLittleEndian = 0;
constexpr int kSixteenBitWords = 2;
constexpr int kSigned = 1;

} // namespace

OggSoundData::OggSoundData(const WideString& fileName) : SoundData(fileName), stream_(OpenFile(fileName))
{
    if (!OpenDecoder()) {
        LogHub::Printf("OGGLOADER: %s is not a valid OGG file", fileName_.c_str());
        return;
    }
    opened_ = true;
    const vorbis_info* info = ov_info(&decoder_, -1);
    format_.formatTag = kPcmFormatTag;
    format_.channels = static_cast<int16_t>(info->channels);
    format_.sampleRate = static_cast<int32_t>(info->rate);
    // A damaged header's rate must not wrap the sizes round to negative ones.
    const int64_t bytesPerSecond = int64_t{format_.channels} * format_.sampleRate * 2;
    format_.bytesPerSecond = static_cast<int32_t>(std::min<int64_t>(bytesPerSecond, INT32_MAX));
    format_.blockAlign = static_cast<int16_t>(format_.channels * 2);
    format_.bitsPerSample = 16;
    const double total = ov_time_total(&decoder_, -1) * format_.bytesPerSecond;
    totalBytes_ = static_cast<int32_t>(std::clamp(total, 0.0, static_cast<double>(INT32_MAX)));
}

// Headers without a single sample after them are refused too: a file cut
// that short has lost all its sound.
bool OggSoundData::OpenDecoder()
{
    const ov_callbacks callbacks{ReadCallback, SeekCallback, CloseCallback, TellCallback};
    if (ov_open_callbacks(this, &decoder_, nullptr, 0, callbacks) < 0) {
        return false;
    }
    if (ov_pcm_total(&decoder_, -1) > 0) {
        return true;
    }
    ov_clear(&decoder_);
    return false;
}

OggSoundData::~OggSoundData()
{
    if (opened_) {
        ov_clear(&decoder_);
    }
}

size_t OggSoundData::ReadCallback(void* destination, size_t size, size_t count, void* self)
{
    Stream& stream = *static_cast<OggSoundData*>(self)->stream_;
    const size_t left = static_cast<size_t>(stream.Remaining());
    const int32_t wanted = static_cast<int32_t>(std::min(size * count, left));
    return static_cast<size_t>(stream.Read(destination, wanted));
}

int OggSoundData::SeekCallback(void* self, ogg_int64_t offset, int origin)
{
    static_cast<OggSoundData*>(self)->stream_->Seek(static_cast<int32_t>(offset), origin);
    return 0;
}

int OggSoundData::CloseCallback(void*)
{
    return 0;   // the stream is ours and goes with this object
}

long OggSoundData::TellCallback(void* self)
{
    return static_cast<OggSoundData*>(self)->stream_->Tell();
}

int32_t OggSoundData::Decode(void* destination, int32_t count)
{
    int section = 0;
    long got;
    do {
        got = ov_read(&decoder_, static_cast<char*>(destination), count, kLittleEndian, kSixteenBitWords, kSigned,
                      &section);
    } while (got == OV_HOLE);   // a gap in the data: decoding goes on after it
    return static_cast<int32_t>(got);
}

int32_t OggSoundData::Read(void* destination, int32_t count)
{
    if (count <= 0) {
        return 0;
    }
    CriticalSectionLock lock(lock_);
    int32_t got = opened_ ? Decode(destination, count) : 0;
    if (got == 0 && opened_ && TakeAnotherPass()) {
        ov_time_seek(&decoder_, 0.0);
        // One more step only: data without a single sample ends here.
        got = Decode(destination, count);
    }
    if (got <= 0) {
        std::memset(destination, 0, count);
    }
    return got;
}

void OggSoundData::Seek(float seconds)
{
    CriticalSectionLock lock(lock_);
    if (opened_) {
        ov_time_seek(&decoder_, seconds);
    }
}

float OggSoundData::Tell()
{
    CriticalSectionLock lock(lock_);
    return opened_ ? static_cast<float>(ov_time_tell(&decoder_)) : 0.0f;
}

float OggSoundData::Length()
{
    CriticalSectionLock lock(lock_);
    return opened_ ? static_cast<float>(ov_time_total(&decoder_, -1)) : 0.0f;
}
