#include "engine/audio/Voice.h"

#include "engine/audio/DS8Audio.h"
#include "engine/audio/SoundBuffer.h"
#include "engine/audio/VoiceStream.h"

#include <algorithm>

Voice::Voice(DS8Audio& device) : device_(device)
{
}

Voice::~Voice()
{
    Stop();
    // The streaming thread writes into the channel's buffer: it must be gone
    // before the buffer is let go.
    stream_.reset();
    place_.reset();
    channel_.Release();
}

void Voice::SetVolume(float volume)
{
    volume_ = std::clamp(volume, 0.0f, 1.0f);
    effectiveVolume_ = GroupVolume() * volume_;
    if (!place_) {
        channel_.SetVolumePan(effectiveVolume_, channel_.GetPan());
    }
}

Voice* Voice::Clone() const
{
    Voice* clone = new Voice(device_);
    clone->channel_.Init(channel_.GetBuffer());
    if (place_) {
        clone->Enable3D();
    }
    return clone;
}

void Voice::Play(bool loop)
{
    Mixer& mixer = device_.GetMixer();
    CriticalSectionLock lock(mixer.GetLock());
    if (stream_) {
        // The ring plays forever; the file's own looping decides what fills it.
        channel_.SetLoopCount(kEndlessLoops);
        stream_->Data().SetLoops(loop ? kEndlessLoops : 1);
    } else {
        channel_.SetLoopCount(loop ? kEndlessLoops : 1);
    }
    if (channel_.IsInMixer()) {
        return;
    }
    channel_.SetInMixer(true);
    device_.Update3D(*this);
    mixer.AddChannel(channel_);
}

void Voice::Stop()
{
    Mixer& mixer = device_.GetMixer();
    CriticalSectionLock lock(mixer.GetLock());
    mixer.RemoveChannel(channel_);
    channel_.SetInMixer(false);
}

void Voice::Rewind()
{
    CriticalSectionLock lock(device_.GetMixer().GetLock());
    channel_.SetPosition(0);
}

void Voice::StopAndRewind()
{
    Stop();
    Rewind();
}

void Voice::SetPitch(float pitch)
{
    pitch_ = ClampPitch(pitch);
    if (!place_) {
        channel_.SetPitch(pitch_);
    }
}

void Voice::SetIgnoreGlobalPitch(bool ignore)
{
    channel_.SetIgnoreGlobalPitch(ignore);
}

void Voice::SetPriority(float priority)
{
    channel_.SetPriority(priority);
}

void Voice::Seek(float seconds)
{
    if (stream_) {
        stream_->Seek(seconds, !IsPlaying());
        return;
    }
    const SoundBuffer* buffer = channel_.GetBuffer();
    const float rate = buffer ? static_cast<float>(buffer->SampleRate()) : 0.0f;
    CriticalSectionLock lock(device_.GetMixer().GetLock());
    channel_.SetPosition(std::max(static_cast<int32_t>(rate * seconds), 0));
}

float Voice::GetPosition() const
{
    if (stream_) {
        return stream_->Data().Tell();
    }
    const SoundBuffer* buffer = channel_.GetBuffer();
    if (!buffer || buffer->SampleRate() <= 0) {
        return 0.0f;
    }
    return static_cast<float>(channel_.GetPosition()) / static_cast<float>(buffer->SampleRate());
}

float Voice::GetLength() const
{
    if (stream_) {
        return stream_->Data().Length();
    }
    const SoundBuffer* buffer = channel_.GetBuffer();
    if (!buffer || buffer->SampleRate() <= 0) {
        return 0.0f;
    }
    return static_cast<float>(buffer->SizeInBytes())
        / static_cast<float>(buffer->SampleRate() * buffer->BytesPerFrame());
}

void Voice::SetPan(float pan)
{
    if (!place_) {
        channel_.SetVolumePan(channel_.GetVolume(), std::clamp(pan, -1.0f, 1.0f));
    }
}

void Voice::Enable3D()
{
    if (!place_) {
        place_ = std::make_unique<Sound3D>();
    }
}

void Voice::Disable3D()
{
    place_.reset();
}

void Voice::Set3DRange(float minimum, float maximum)
{
    if (place_) {
        place_->SetRange(minimum, maximum);
    }
}

void Voice::Get3DRange(float& minimum, float& maximum) const
{
    if (place_) {
        minimum = place_->minDistance;
        maximum = place_->maxDistance;
    }
}

void Voice::Set3DPosition(const Vec3& position)
{
    if (place_) {
        place_->position = position;
    }
}

void Voice::Set3DVelocity(const Vec3& velocity)
{
    if (place_) {
        place_->velocity = velocity;
    }
}

void Voice::StartStream(std::unique_ptr<SoundData> data)
{
    stream_ = std::make_unique<VoiceStream>(channel_, std::move(data));
}
