#include "engine/audio/Channel.h"

#include "engine/audio/SoundBuffer.h"

#include <algorithm>
#include <cmath>

float ClampPitch(float pitch)
{
    if (std::isnan(pitch)) {
        return 1.0f;
    }
    return std::clamp(pitch, kMinimumPitch, kMaximumPitch);
}

void Channel::Init(SoundBuffer* buffer)
{
    buffer_ = buffer;
    if (buffer_) {
        buffer_->AddUser();
    }
    priority_ = 0.0f;
    SetVolumePan(1.0f, 0.0f);
    pitch_ = 1.0f;
    position_ = 0;
}

void Channel::Release()
{
    if (buffer_) {
        buffer_->RemoveUser();
        buffer_ = nullptr;
    }
}

void Channel::SetVolumePan(float volume, float pan)
{
    // Groups may scale beyond full volume; a gain above full would overflow
    // the 32-bit products of the mix.
    volume = std::min(volume, 1.0f);
    pan = std::clamp(pan, -1.0f, 1.0f);
    volume_ = volume;
    pan_ = pan;
    if (!(volume > 0.0f)) {
        routine_ = MixRoutine::kAdvance;
        return;
    }
    const float left = volume * (pan > 0.0f ? 1.0f - pan : 1.0f);
    const float right = volume * (pan > 0.0f ? 1.0f : 1.0f + pan);
    leftGain_ = static_cast<int32_t>(left * kFullGain);
    rightGain_ = static_cast<int32_t>(right * kFullGain);
    routine_ = (!buffer_ || buffer_->IsStereo()) ? MixRoutine::kStereo : MixRoutine::kMono;
}

int32_t Channel::EffectiveRate(const MixTarget& target) const
{
    const float rate = static_cast<float>(buffer_ ? buffer_->SampleRate() : target.outputRate);
    const float globalPitch = ignoresGlobalPitch_ ? 1.0f : ClampPitch(target.globalPitch);
    return static_cast<int32_t>(rate * globalPitch * pitch_);
}

bool Channel::EndOfPass()
{
    if (loopCount_ == 1) {
        return true;
    }
    if (loopCount_ > 0) {
        --loopCount_;
    }
    return false;
}

bool Channel::WrapPosition(int32_t position, int32_t frames)
{
    while (position >= frames) {
        if (EndOfPass()) {
            position_ = 0;
            return false;
        }
        position -= frames;
    }
    position_ = position;
    return true;
}

bool Channel::Mix(const MixTarget& target)
{
    switch (routine_.load()) {
    case MixRoutine::kStereo:
        return MixFrames<2>(target);
    case MixRoutine::kMono:
        return MixFrames<1>(target);
    default:
        return Advance(target);
    }
}

// Nearest sample, no interpolation: at the output rate every frame is played
// once; at other rates frames repeat or are skipped.
template <int32_t kSamplesPerFrame>
bool Channel::MixFrames(const MixTarget& target)
{
    const int32_t frames = buffer_ ? buffer_->Frames() : 0;
    if (frames == 0) {
        return loopCount_ != 1;
    }
    const int16_t* samples = buffer_->Samples();
    const int32_t leftGain = leftGain_;
    const int32_t rightGain = rightGain_;
    const int32_t rate = EffectiveRate(target);
    int32_t* out = target.accumulator;
    int32_t position = position_;

    auto add = [&](int32_t frame, int32_t i) {
        const int16_t* sample = samples + frame * kSamplesPerFrame;
        out[2 * i] += sample[0] * leftGain / kFullGain;
        out[2 * i + 1] += sample[kSamplesPerFrame - 1] * rightGain / kFullGain;
    };

    if (rate == target.outputRate) {
        for (int32_t i = 0; i < target.frames; ++i) {
            if (position >= frames) {
                position = 0;
                if (EndOfPass()) {
                    position_ = 0;
                    return false;
                }
            }
            add(position, i);
            ++position;
        }
        position_ = position;
        return true;
    }

    const float step = static_cast<float>(rate) / static_cast<float>(target.outputRate);
    for (int32_t i = 0; i < target.frames; ++i) {
        const int32_t offset = static_cast<int32_t>(step * i);
        int32_t frame = position + offset;
        if (frame >= frames) {
            if (EndOfPass()) {
                position_ = 0;
                return false;
            }
            // The frames after this one restart from the beginning.
            position = -offset;
            frame %= frames;
        }
        add(frame, i);
    }
    // A chunk whose last frame was the buffer's last can end past it (by up
    // to a step); a streaming thread must never see such a position.
    return WrapPosition(position + static_cast<int32_t>(step * target.frames), frames);
}

bool Channel::Advance(const MixTarget& target)
{
    const int32_t frames = buffer_ ? buffer_->Frames() : 0;
    if (frames == 0) {
        return loopCount_ != 1;
    }
    const int32_t rate = EffectiveRate(target);
    const int32_t moved = rate == target.outputRate
        ? target.frames
        : static_cast<int32_t>(static_cast<float>(rate) / static_cast<float>(target.outputRate) * target.frames);
    return WrapPosition(position_ + moved, frames);
}
