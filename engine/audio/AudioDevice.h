#pragma once
// All sound leaves the game through the one AudioDevice, which the engine
// owns. Game code asks for sounds by short file name ("Click.WAV",
// "Intro.OGG"): Play makes a voice the caller keeps, starts, moves and
// destroys; PlayOnce and PlayAt fire a sound and forget it, the latter at a
// place in the world. Every call runs on the main thread.

#include "engine/audio/SoundData.h"
#include "engine/math/Vec3.h"

#include <cstdint>
#include <memory>

struct Quaternion;
class Voice;
class dcWindow;

// One request for a sound, built on the stack.
struct SoundRef {
    WideString fileName;     // as resolved; empty when nothing was found
    bool positional = false;
    bool streamed = false;
    bool extra = false;
    std::unique_ptr<SoundData> data;

    // The silent stand-in for a sound that cannot be found.
    void MakeDefault();
};

// Lets the owner of a one-shot sound stop it early. The device fills the
// voice when it asks for the sound and empties it when the sound has ended,
// just before OnFinished, or when the voice is destroyed. Its owner calls
// AudioDevice::ReleaseHandle before it goes, which OnFinished may do.
class VoiceHandle {
public:
    virtual ~VoiceHandle() = default;
    virtual void OnFinished() {}

    Voice* voice = nullptr;
};

// The listener's pose, which places positional sounds.
class ListenerInterface {
public:
    virtual ~ListenerInterface() = default;
    virtual void SetListenerPosition(const Vec3& position) = 0;
    // The listener's own orientation in the world.
    virtual void SetListenerOrientation(const Quaternion& orientation) = 0;
    // Kept, not used: there is no Doppler.
    virtual void SetListenerVelocity(const Vec3& velocity) = 0;
};

class AudioDevice {
public:
    AudioDevice() = default;
    virtual ~AudioDevice() = default;
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // Opens the output on the window. A device that fails stays silent while
    // everything else keeps working; true when the output plays.
    virtual bool Init(int32_t unused, dcWindow* window) = 0;
    // Once per engine frame, after the modules' update: places positional
    // voices and reaps one ended one-shot sound.
    virtual void Update(float frameTime) = 0;
    // Once per engine frame, after the video device's BeginFrame.
    virtual void AfterUpdate() = 0;
    // How many channels are heard at most; the rest move on silently.
    virtual void SetMaxChannels(int32_t count) = 0;
    // A stopped voice on the request's sound; never null.
    virtual Voice* CreateVoice(SoundRef& ref) = 0;
    // Also takes a clone, or a one-shot voice from its handle, even one still
    // being loaded; the handle is emptied.
    virtual void DestroyVoice(Voice* voice) = 0;
    virtual void PlayOnceAt(SoundRef& ref, const Vec3& position, float minDistance, float maxDistance,
                            float volume, VoiceHandle* handle) = 0;
    virtual void PlayOnceSound(SoundRef& ref, float volume, VoiceHandle* handle) = 0;
    // Every one-shot sound holding the handle forgets it.
    virtual void ReleaseHandle(VoiceHandle* handle) = 0;
    // 0 mutes everything; any other value plays at full level.
    virtual void SetMasterVolume(float volume) = 0;
    // Scales the playback rate of every voice that does not ignore it.
    virtual void SetGlobalPitch(float pitch) = 0;

    // Resolves the name through the SoundFactory and opens its data with
    // the loader for its extension; false (logged) when either is missing.
    bool FindSound(const WideString& name, SoundRef& ref);
    // A stopped voice the caller keeps; a silent "Default" one when the
    // sound cannot be found. Never null.
    Voice* Play(const WideString& name, bool positional, bool streamed, bool extra);
    // Nothing at volume 0 or below, or when the sound cannot be found.
    void PlayOnce(const WideString& name, float volume, VoiceHandle* handle);
    void PlayAt(const WideString& name, const Vec3& position, float minDistance, float maxDistance,
                float volume, VoiceHandle* handle);

    ListenerInterface* GetListener() const { return listener_; }

protected:
    ListenerInterface* listener_ = nullptr;
};

// The DirectSound 8 device; Init opens it.
std::unique_ptr<AudioDevice> CreateAudioDevice(int32_t unused);
