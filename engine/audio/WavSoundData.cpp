#include "engine/audio/WavSoundData.h"

#include "engine/core/LogHub.h"
#include "engine/files/ArchiveList.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int32_t kFormatChunkSize = 16;
constexpr int32_t kDataSizeBytes = 4;

// 8-bit samples are unsigned around 128; 16-bit ones signed around 0.
int16_t WidenSample(uint8_t sample)
{
    return static_cast<int16_t>((sample - 128) * 256);
}

} // namespace

WavSoundData::WavSoundData(const WideString& fileName) : SoundData(fileName), stream_(OpenFile(fileName))
{
    if (!ReadHeader()) {
        totalBytes_ = 0;
    }
}

bool WavSoundData::ExpectTag(const char* tag)
{
    for (int32_t i = 0; i < 4; ++i) {
        if (stream_->ReadByte() != static_cast<uint8_t>(tag[i])) {
            return false;
        }
    }
    return true;
}

bool WavSoundData::ReadHeader()
{
    if (!ExpectTag("RIFF")) {
        LogHub::Printf("%s is not an audiofile", fileName_.c_str());
        return false;
    }
    stream_->ReadInt32();   // the RIFF size, which writers often get wrong
    if (!ExpectTag("WAVE")) {
        LogHub::Printf("%s is not a wave file", fileName_.c_str());
        return false;
    }
    if (!ExpectTag("fmt ")) {
        LogHub::Printf("%s has no header", fileName_.c_str());
        return false;
    }
    if (stream_->ReadInt32() != kFormatChunkSize) {
        LogHub::Printf("%s has an invalid header", fileName_.c_str());
        return false;
    }
    SoundFormat file;
    file.formatTag = stream_->ReadInt16();
    if (file.formatTag != kPcmFormatTag) {
        LogHub::Printf("%s doesn't have PCM encoding", fileName_.c_str());
        return false;
    }
    file.channels = stream_->ReadInt16();
    file.sampleRate = stream_->ReadInt32();
    file.bytesPerSecond = stream_->ReadInt32();
    file.blockAlign = stream_->ReadInt16();
    file.bitsPerSample = stream_->ReadInt16();
    if (file.bitsPerSample != 8 && file.bitsPerSample != 16) {
        LogHub::Printf("%s has %d-bit samples; only 8 and 16 bits can be played", fileName_.c_str(),
                       static_cast<int>(file.bitsPerSample));
        return false;
    }
    if (!ExpectTag("data")) {
        LogHub::Printf("%s has no data", fileName_.c_str());
        return false;
    }
    if (stream_->Remaining() < kDataSizeBytes) {
        stream_->ReportErrors();
        return false;
    }
    // RIFF sizes are unsigned: one of 2 GiB or more is no reason for silence.
    const uint32_t declared = static_cast<uint32_t>(stream_->ReadInt32());
    dataStart_ = stream_->Tell();
    // A header that promises more than the file holds is cut to the file.
    const int32_t present = std::max(stream_->GetSize() - dataStart_, 0);
    if (declared > static_cast<uint32_t>(present)) {
        stream_->ReportErrors();
    }
    const int32_t fileBytes = static_cast<int32_t>(std::min(declared, static_cast<uint32_t>(present)));

    widening_ = file.bitsPerSample == 8 ? 2 : 1;
    // Sizes count delivered bytes in 32 bits: widened, a damaged header's
    // values must not wrap round to negative ones.
    const int32_t widest = INT32_MAX / widening_;
    format_ = file;
    format_.bitsPerSample = 16;
    format_.bytesPerSecond = std::clamp(file.bytesPerSecond, 0, widest) * widening_;
    format_.blockAlign = static_cast<int16_t>(file.blockAlign * widening_);
    totalBytes_ = std::min(fileBytes, widest) * widening_;
    readPosition_ = 0;
    loopCount_ = 1;
    return true;
}

int32_t WavSoundData::ReadSamples(uint8_t* destination, int32_t count)
{
    if (widening_ == 1) {
        return stream_->Read(destination, count);
    }
    std::vector<uint8_t> narrow(count / widening_);
    const int32_t got = stream_->Read(narrow.data(), static_cast<int32_t>(narrow.size()));
    int16_t* samples = reinterpret_cast<int16_t*>(destination);
    for (int32_t i = 0; i < got; ++i) {
        samples[i] = WidenSample(narrow[i]);
    }
    return got * widening_;
}

int32_t WavSoundData::Read(void* destination, int32_t count)
{
    if (count <= 0) {
        return 0;
    }
    uint8_t* bytes = static_cast<uint8_t*>(destination);
    std::memset(bytes, 0, count);
    // Whole samples only, so a widened sample is never split.
    count -= count % widening_;
    int32_t delivered = 0;
    while (delivered < count) {
        const int32_t wanted = std::clamp(totalBytes_ - readPosition_, 0, count - delivered);
        if (wanted > 0) {
            const int32_t got = ReadSamples(bytes + delivered, wanted);
            readPosition_ += got;
            delivered += got;
            if (got < wanted) {
                break;   // the file ended early: nothing more to loop over
            }
            continue;
        }
        // At the end of a pass; empty data never loops, or it would never end.
        if (totalBytes_ == 0 || !TakeAnotherPass()) {
            break;
        }
        Seek(0.0f);
    }
    return delivered;
}

void WavSoundData::Seek(float seconds)
{
    // Beyond the end reads as the end; before the start (or no number) as the start.
    const double wanted = seconds > 0.0f ? static_cast<double>(seconds) * format_.bytesPerSecond : 0.0;
    const double bytes = std::min(wanted, static_cast<double>(totalBytes_));
    readPosition_ = static_cast<int32_t>(bytes);
    readPosition_ -= readPosition_ % widening_;
    stream_->Seek(dataStart_ + readPosition_ / widening_, kSeekStart);
}

float WavSoundData::Tell()
{
    if (format_.bytesPerSecond <= 0) {
        return 0.0f;
    }
    return static_cast<float>(readPosition_) / static_cast<float>(format_.bytesPerSecond);
}
