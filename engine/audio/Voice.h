#pragma once
// One playing (or ready to play) sound. Its channel is what the mixer reads;
// a streamed voice plays a one-second ring that its own streaming thread keeps
// refilling from the sound file. Made and destroyed through the AudioDevice;
// every operation runs on the main thread.

#include "engine/audio/Channel.h"
#include "engine/audio/PositionalSound.h"
#include "engine/audio/SoundGroup.h"

#include <memory>

class DS8Audio;
class SoundData;
class VoiceStream;

class Voice : public VolumeNode {
public:
    explicit Voice(DS8Audio& device);
    // Leaves the mixer, stops and waits for the streaming thread, and lets go
    // of the buffer (which stays in the device's cache).
    ~Voice() override;

    // Clamped to 0..1, then scaled by the groups above.
    void SetVolume(float volume) override;
    float GetVolume() const override { return volume_; }

    // A new voice of the same device on the same buffer, with a 3D record if
    // this one has one; nothing else is copied. Destroy it with
    // AudioDevice::DestroyVoice.
    Voice* Clone() const;

    // Joins the mixer, or on a playing voice only changes the looping.
    void Play(bool loop);
    // Leaves the mixer; the position stays, so Play resumes.
    void Stop();
    void Rewind();
    void StopAndRewind();

    // Clamped to 0.1..10; not a number plays at pitch 1.
    void SetPitch(float pitch);
    void SetIgnoreGlobalPitch(bool ignore);
    // Decides who is heard when more channels play than the mixer lets through.
    void SetPriority(float priority);
    void Seek(float seconds);
    float GetPosition() const;
    float GetLength() const;
    // False once the sound has ended or the voice was stopped.
    bool IsPlaying() const { return channel_.IsInMixer(); }

    // Clamped to -1..1; a positional voice takes its pan from its place.
    void SetPan(float pan);
    void Enable3D();
    void Disable3D();
    void Set3DRange(float minimum, float maximum);
    void Get3DRange(float& minimum, float& maximum) const;
    void Set3DPosition(const Vec3& position);
    void Set3DVelocity(const Vec3& velocity);
    const Sound3D* Get3D() const { return place_.get(); }

    Channel& GetChannel() { return channel_; }
    const Channel& GetChannel() const { return channel_; }
    DS8Audio& GetDevice() const { return device_; }
    // Own volume times the groups'; a one-shot sound's is set directly.
    float GetEffectiveVolume() const { return effectiveVolume_; }
    void SetEffectiveVolume(float volume) { effectiveVolume_ = volume; }
    float GetPitch() const { return pitch_; }

    // Takes the sound data and starts refilling the channel's buffer from it.
    void StartStream(std::unique_ptr<SoundData> data);
    bool IsStreamed() const { return stream_ != nullptr; }

private:
    DS8Audio& device_;
    Channel channel_;
    std::unique_ptr<VoiceStream> stream_;
    float effectiveVolume_ = 1.0f;
    float pitch_ = 1.0f;
    std::unique_ptr<Sound3D> place_;
};
