#include "engine/audio/SoundBuffer.h"

#include "engine/core/LogHub.h"

namespace {

constexpr int32_t kMaxSampleRate = 192000;
// Whole sounds are effects and short loops; anything longer is meant to be
// streamed, and a damaged file's length must not exhaust the address space.
constexpr int32_t kMaxWholeSoundBytes = 64 * 1024 * 1024;

// The mixer plays 16-bit mono or stereo; anything else stays silent.
bool IsPlayable(const SoundFormat& format)
{
    return format.bitsPerSample == 16 && (format.channels == 1 || format.channels == 2) && format.sampleRate > 0
        && format.sampleRate <= kMaxSampleRate;
}

// A reader may deliver less per call than asked (an Ogg file gives one
// decoding step), so it is asked until the sound is complete.
void ReadWhole(SoundData& data, std::vector<int16_t>& samples)
{
    uint8_t* bytes = reinterpret_cast<uint8_t*>(samples.data());
    const int32_t size = static_cast<int32_t>(samples.size() * sizeof(int16_t));
    int32_t filled = 0;
    while (filled < size) {
        const int32_t got = data.Read(bytes + filled, size - filled);
        if (got <= 0) {
            break;
        }
        filled += got;
    }
}

// The silent stand-in for a sound that cannot be played.
std::unique_ptr<SoundBuffer> EmptyBuffer(const SoundFormat& format)
{
    return std::make_unique<SoundBuffer>(std::vector<int16_t>(), format.sampleRate, format.channels == 2);
}

} // namespace

SoundBuffer::SoundBuffer(std::vector<int16_t> samples, int32_t sampleRate, bool stereo)
    : samples_(std::move(samples))
    , frames_(static_cast<int32_t>(samples_.size()) / (stereo ? 2 : 1))
    , sampleRate_(sampleRate)
    , stereo_(stereo)
{
}

std::unique_ptr<SoundBuffer> SoundBuffer::FromSoundData(SoundData& data, bool streamed)
{
    const SoundFormat& format = data.GetFormat();
    const bool stereo = format.channels == 2;
    if (!IsPlayable(format)) {
        if (data.GetTotalBytes() > 0) {
            LogHub::Printf("%s has a sample format that cannot be played", data.GetFileName().c_str());
        }
        return EmptyBuffer(format);
    }
    const int32_t bytesPerFrame = stereo ? 4 : 2;
    const int32_t bytes = streamed ? format.sampleRate * bytesPerFrame : data.GetTotalBytes();
    // No size at all, or one no reader should give, plays as silence.
    if (bytes <= 0) {
        return EmptyBuffer(format);
    }
    if (bytes > kMaxWholeSoundBytes) {
        LogHub::Printf("%s is too long to be played without streaming", data.GetFileName().c_str());
        return EmptyBuffer(format);
    }
    std::vector<int16_t> samples(bytes / bytesPerFrame * (bytesPerFrame / 2));
    if (!streamed) {
        ReadWhole(data, samples);
    }
    return std::make_unique<SoundBuffer>(std::move(samples), format.sampleRate, stereo);
}

void SoundBuffer::Free()
{
    samples_.clear();
    samples_.shrink_to_fit();
    frames_ = 0;
}
