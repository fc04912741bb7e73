#pragma once
// The AudioDevice on DirectSound 8, which only provides one looping 32 KiB
// buffer of 16-bit stereo at 44100 Hz: the engine mixes everything itself.
// A mixer thread at time-critical priority writes freshly mixed 20 ms pieces
// 40 ms ahead of where it last wrote, once DirectSound's write cursor has
// passed that point. Four loader threads decode one-shot sounds off the main
// thread, without holding the device lock. Lock order: the device lock, then
// the mixer lock.

#include "engine/audio/AudioDevice.h"
#include "engine/audio/Mixer.h"
#include "engine/audio/SoundCache.h"
#include "engine/audio/Voice.h"
#include "engine/core/CriticalSection.h"
#include "engine/core/Thread.h"

#include <array>
#include <atomic>
#include <memory>
#include <vector>

struct IDirectSound8;
struct IDirectSoundBuffer;

// Whether DirectSound's write cursor has passed the mixer's position in a
// ring of the given size; a cursor in the first half is taken to have
// wrapped when the mixer is in the second.
bool WriteCursorPassed(uint32_t writeCursor, uint32_t mixerPosition, uint32_t bufferSize);

class DS8Audio : public AudioDevice, public ListenerInterface {
public:
    static constexpr int32_t kBufferSize = 32768;
    static constexpr int32_t kLoaderCount = 4;

    // Starts the loader threads; the output waits for Init.
    DS8Audio();
    // Stops and waits for every thread, destroys the voices still alive,
    // then releases DirectSound.
    ~DS8Audio() override;

    bool Init(int32_t unused, dcWindow* window) override;
    void Update(float frameTime) override;
    void AfterUpdate() override {}
    void SetMaxChannels(int32_t count) override { mixer_.SetAudibleChannels(count); }
    Voice* CreateVoice(SoundRef& ref) override;
    void DestroyVoice(Voice* voice) override;
    void PlayOnceAt(SoundRef& ref, const Vec3& position, float minDistance, float maxDistance, float volume,
                    VoiceHandle* handle) override;
    void PlayOnceSound(SoundRef& ref, float volume, VoiceHandle* handle) override;
    void ReleaseHandle(VoiceHandle* handle) override;
    void SetMasterVolume(float volume) override { mixer_.SetMuted(volume == 0.0f); }
    void SetGlobalPitch(float pitch) override { mixer_.SetGlobalPitch(pitch); }

    void SetListenerPosition(const Vec3& position) override;
    void SetListenerOrientation(const Quaternion& orientation) override;
    void SetListenerVelocity(const Vec3& velocity) override;

    // Gives a positional voice its volume, pan and pitch from its place.
    void Update3D(Voice& voice);

    Mixer& GetMixer() { return mixer_; }
    CriticalSection& GetDeviceLock() { return deviceLock_; }
    // Under the device lock.
    const SoundCache& GetCache() const { return cache_; }
    size_t VoiceCount() const { return voices_.size(); }
    size_t OneShotCount() const { return oneShots_.size(); }
    // The buffer the mixer writes, null without a device.
    IDirectSoundBuffer* GetOutputBuffer() const { return output_; }

private:
    struct LoaderSlot {
        DS8Audio* owner = nullptr;
        std::unique_ptr<Voice> voice;
        std::unique_ptr<SoundData> data;
        Event event{true};
        VoiceHandle* handle = nullptr;
        std::atomic<bool> idle{true};
        std::atomic<bool> quit{false};
        Thread thread;
    };

    struct OneShot {
        std::unique_ptr<Voice> voice;
        VoiceHandle* handle;
    };

    static int32_t MixerThreadEntry(ThreadHandle& self, void* device);
    static int32_t LoaderThreadEntry(ThreadHandle& self, void* slot);
    void MixerThread();
    // One piece of the ring mixed; false when the buffer could not be locked.
    bool MixPiece(uint32_t offset, uint32_t bytes);
    // On a loader thread: decodes the slot's sound unless the cache has it,
    // then starts it.
    void LoadOneShot(LoaderSlot& slot);
    // Under the device lock: plays the slot's voice on the cached sound, else
    // on the one just decoded (which the cache takes). False when the sound
    // still has to be decoded.
    bool StartOneShot(LoaderSlot& slot, const WideString& fileName, std::unique_ptr<SoundBuffer>& decoded);
    // Hands the request to an idle loader; dropped when all four are busy.
    void QueueOneShot(SoundRef& ref, float volume, VoiceHandle* handle, const Sound3D* place);
    void ReapOneShot();
    void StopThreads();
    void ReleaseDirectSound();

    IDirectSound8* directSound_ = nullptr;
    IDirectSoundBuffer* primary_ = nullptr;
    IDirectSoundBuffer* output_ = nullptr;   // the secondary, or the primary when that failed
    bool comInitialised_ = false;

    SoundCache cache_;
    std::vector<std::unique_ptr<Voice>> voices_;
    std::vector<OneShot> oneShots_;
    CriticalSection deviceLock_;
    std::array<LoaderSlot, kLoaderCount> loaders_;
    std::atomic<bool> mixerRunning_{false};
    Thread mixerThread_;
    Mixer mixer_;
    ListenerPose listenerPose_;
};
