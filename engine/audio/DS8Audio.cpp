#include "engine/audio/DS8Audio.h"

#include "engine/core/ComRelease.h"
#include "engine/core/LogHub.h"
#include "engine/core/dcWindow.h"
#include "engine/math/Quaternion.h"

#include <windows.h>

#include <mmsystem.h>

#include <dsound.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr float kMixerPriority = 1.0f;    // time critical
constexpr float kLoaderPriority = 0.5f;   // normal
// 10 ms of output; the mixer writes two of them at a time, four ahead.
constexpr uint32_t kTick = Mixer::kBytesPerSecond / 100;
constexpr uint32_t kPieceBytes = 2 * kTick;
constexpr uint32_t kLeadBytes = 4 * kTick;
constexpr float kCursorPoll = 0.0025f;
constexpr float kPiecePause = 0.01f;

WAVEFORMATEX OutputFormat()
{
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = Mixer::kOutputRate;
    format.nAvgBytesPerSec = Mixer::kBytesPerSecond;
    format.nBlockAlign = Mixer::kBytesPerFrame;
    format.wBitsPerSample = 16;
    return format;
}

} // namespace

bool WriteCursorPassed(uint32_t writeCursor, uint32_t mixerPosition, uint32_t bufferSize)
{
    if (writeCursor < bufferSize / 2 && mixerPosition > bufferSize / 2) {
        return bufferSize + writeCursor > mixerPosition;
    }
    return writeCursor > mixerPosition;
}

std::unique_ptr<AudioDevice> CreateAudioDevice(int32_t)
{
    return std::make_unique<DS8Audio>();
}

DS8Audio::DS8Audio()
{
    listener_ = this;
    for (LoaderSlot& slot : loaders_) {
        slot.owner = this;
        slot.thread.Start(LoaderThreadEntry, &slot, kLoaderPriority);
    }
}

DS8Audio::~DS8Audio()
{
    StopThreads();
    // Nothing mixes or loads any more: the voices and their buffers can go,
    // and no handle may keep pointing at one.
    for (OneShot& oneShot : oneShots_) {
        if (oneShot.handle) {
            oneShot.handle->voice = nullptr;
        }
    }
    oneShots_.clear();
    for (LoaderSlot& slot : loaders_) {
        if (slot.handle) {
            slot.handle->voice = nullptr;
        }
        slot.voice.reset();
        slot.data.reset();
    }
    voices_.clear();
    cache_.Clear();
    ReleaseDirectSound();
}

void DS8Audio::StopThreads()
{
    mixerRunning_ = false;
    mixerThread_.Join();
    if (output_) {
        output_->Stop();
    }
    for (LoaderSlot& slot : loaders_) {
        slot.quit = true;
        slot.event.Set();
    }
    for (LoaderSlot& slot : loaders_) {
        slot.thread.Join();
    }
}

void DS8Audio::ReleaseDirectSound()
{
    if (output_ == primary_) {
        output_ = nullptr;
    }
    ReleaseInterface(output_);
    ReleaseInterface(primary_);
    ReleaseInterface(directSound_);
    if (comInitialised_) {
        CoUninitialize();
        comInitialised_ = false;
    }
}

bool DS8Audio::Init(int32_t, dcWindow* window)
{
    comInitialised_ = SUCCEEDED(CoInitialize(nullptr));
    if (FAILED(DirectSoundCreate8(nullptr, &directSound_, nullptr))) {
        directSound_ = nullptr;
        LogHub::Printf("DS8Audio: Failed initing DirectSound");
        return false;
    }
    LogHub::PrintVerbose("DS8Audio: DirectSound inited");

    HWND handle = window ? window->GetHandle() : nullptr;
    if (FAILED(directSound_->SetCooperativeLevel(handle, DSSCL_EXCLUSIVE))) {
        LogHub::PrintVerbose("DS8Audio: Failed setting exclusive cooperative level");
        if (FAILED(directSound_->SetCooperativeLevel(handle, DSSCL_PRIORITY))) {
            LogHub::PrintVerbose("DS8Audio: Failed setting priority cooperative level");
        }
    }

    DSBUFFERDESC primaryDescription{};
    primaryDescription.dwSize = sizeof primaryDescription;
    primaryDescription.dwFlags = DSBCAPS_PRIMARYBUFFER;
    if (FAILED(directSound_->CreateSoundBuffer(&primaryDescription, &primary_, nullptr))) {
        primary_ = nullptr;
        LogHub::Printf("DS8Audio: Failed creating primary buffer");
    } else {
        LogHub::PrintVerbose("DS8Audio: Primary buffer created");
    }

    WAVEFORMATEX format = OutputFormat();
    if (!primary_ || FAILED(primary_->SetFormat(&format))) {
        LogHub::Printf("DS8Audio: Failed configuring primary buffer");
    } else {
        LogHub::PrintVerbose("DS8Audio: Primary buffer configured");
    }
    DSBCAPS caps{};
    caps.dwSize = sizeof caps;
    if (primary_) {
        primary_->GetCaps(&caps);
    }
    LogHub::PrintVerbose("DS8Audio: BufferSize = %d", static_cast<int>(caps.dwBufferBytes));

    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwBufferBytes = kBufferSize;
    description.lpwfxFormat = &format;
    if (FAILED(directSound_->CreateSoundBuffer(&description, &output_, nullptr))) {
        output_ = primary_;
    }
    if (!output_) {
        return false;
    }

    void* bytes = nullptr;
    DWORD size = 0;
    if (SUCCEEDED(output_->Lock(0, 0, &bytes, &size, nullptr, nullptr, DSBLOCK_ENTIREBUFFER))) {
        std::memset(bytes, 0, size);
        output_->Unlock(bytes, size, nullptr, 0);
    }

    mixerRunning_ = true;
    mixerThread_.Start(MixerThreadEntry, this, kMixerPriority);
    return SUCCEEDED(output_->Play(0, 0, DSBPLAY_LOOPING));
}

int32_t DS8Audio::MixerThreadEntry(ThreadHandle&, void* device)
{
    static_cast<DS8Audio*>(device)->MixerThread();
    return 0;
}

void DS8Audio::MixerThread()
{
    constexpr uint32_t size = kBufferSize;
    uint32_t position = 0;
    while (mixerRunning_) {
        DWORD writeCursor = 0;
        if (FAILED(output_->GetCurrentPosition(nullptr, &writeCursor))
            || !WriteCursorPassed(writeCursor, position, size)) {
            SleepSeconds(kCursorPoll);
            continue;
        }
        if (!MixPiece((position + kLeadBytes) % size, kPieceBytes)) {
            SleepSeconds(kPiecePause);
            continue;
        }
        SleepSeconds(kPiecePause);
        position = (position + kPieceBytes) % size;
    }
}

bool DS8Audio::MixPiece(uint32_t offset, uint32_t bytes)
{
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    auto lock = [&] { return output_->Lock(offset, bytes, &first, &firstBytes, &second, &secondBytes, 0); };
    if (FAILED(lock())) {
        // The buffer may have been lost to another program.
        if (primary_) {
            primary_->Restore();
        }
        if (FAILED(lock())) {
            return false;
        }
    }
    if (first) {
        mixer_.Mix(static_cast<int32_t>(firstBytes));
        mixer_.Output(first);
    }
    if (second) {
        mixer_.Mix(static_cast<int32_t>(secondBytes));
        mixer_.Output(second);
    }
    output_->Unlock(first, firstBytes, second, secondBytes);
    return true;
}

int32_t DS8Audio::LoaderThreadEntry(ThreadHandle&, void* slotParameter)
{
    LoaderSlot& slot = *static_cast<LoaderSlot*>(slotParameter);
    for (;;) {
        slot.event.Wait();
        if (slot.quit) {
            return 0;
        }
        slot.owner->LoadOneShot(slot);
        // Only now may the main thread hand this slot the next request.
        slot.idle = true;
    }
}

void DS8Audio::LoadOneShot(LoaderSlot& slot)
{
    std::unique_ptr<SoundData> data;
    {
        CriticalSectionLock lock(deviceLock_);
        if (!slot.voice || !slot.data) {
            return;
        }
        data = std::move(slot.data);   // this thread's alone from now on
    }
    std::unique_ptr<SoundBuffer> decoded;
    while (!StartOneShot(slot, data->GetFileName(), decoded)) {
        // Decoding a whole sound takes a while: it runs without the device
        // lock, so the main thread never waits for it.
        decoded = SoundBuffer::FromSoundData(*data, false);
    }
}

bool DS8Audio::StartOneShot(LoaderSlot& slot, const WideString& fileName, std::unique_ptr<SoundBuffer>& decoded)
{
    CriticalSectionLock lock(deviceLock_);
    if (!slot.voice) {
        return true;   // destroyed while it was loading
    }
    // Another loader may have decoded the same sound meanwhile; its entry wins.
    SoundBuffer* buffer = cache_.Find(fileName);
    if (!buffer) {
        if (!decoded) {
            return false;
        }
        buffer = cache_.Add(fileName, std::move(decoded), false);
    }
    Voice& voice = *slot.voice;
    voice.GetChannel().Init(buffer);
    voice.GetChannel().SetVolumePan(voice.GetEffectiveVolume(), 0.0f);
    voice.Play(false);
    oneShots_.push_back({std::move(slot.voice), slot.handle});
    slot.handle = nullptr;
    return true;
}

Voice* DS8Audio::CreateVoice(SoundRef& ref)
{
    if (!ref.data) {
        ref.MakeDefault();
    }
    Voice* voice;
    {
        CriticalSectionLock lock(deviceLock_);
        SoundBuffer* buffer = ref.streamed ? nullptr : cache_.Find(ref.fileName);
        if (!buffer) {
            buffer = cache_.Add(ref.fileName, SoundBuffer::FromSoundData(*ref.data, ref.streamed), ref.streamed);
        }
        voices_.push_back(std::make_unique<Voice>(*this));
        voice = voices_.back().get();
        voice->GetChannel().Init(buffer);
    }
    if (ref.streamed) {
        voice->StartStream(std::move(ref.data));
    }
    if (ref.positional) {
        voice->Enable3D();
    }
    return voice;
}

void DS8Audio::DestroyVoice(Voice* voice)
{
    if (!voice) {
        return;
    }
    CriticalSectionLock lock(deviceLock_);
    auto kept = std::find_if(voices_.begin(), voices_.end(),
                             [voice](const std::unique_ptr<Voice>& entry) { return entry.get() == voice; });
    auto oneShot = std::find_if(oneShots_.begin(), oneShots_.end(),
                                [voice](const OneShot& entry) { return entry.voice.get() == voice; });
    auto loading = std::find_if(loaders_.begin(), loaders_.end(),
                                [voice](const LoaderSlot& slot) { return slot.voice.get() == voice; });
    if (kept != voices_.end()) {
        voices_.erase(kept);
    } else if (oneShot != oneShots_.end()) {
        if (oneShot->handle) {
            oneShot->handle->voice = nullptr;
        }
        oneShots_.erase(oneShot);
    } else if (loading != loaders_.end()) {
        // Its loader finds the slot empty and plays nothing.
        if (loading->handle) {
            loading->handle->voice = nullptr;
            loading->handle = nullptr;
        }
        loading->voice.reset();
        loading->data.reset();
    } else {
        delete voice;   // a clone: in no list
    }
    cache_.FreeFirstUnused();
}

void DS8Audio::QueueOneShot(SoundRef& ref, float volume, VoiceHandle* handle, const Sound3D* place)
{
    CriticalSectionLock lock(deviceLock_);
    auto idle = std::find_if(loaders_.begin(), loaders_.end(), [](const LoaderSlot& slot) { return slot.idle.load(); });
    if (idle == loaders_.end()) {
        return;
    }
    LoaderSlot& slot = *idle;
    slot.voice = std::make_unique<Voice>(*this);
    slot.voice->SetEffectiveVolume(std::clamp(volume, 0.0f, 1.0f));
    if (place) {
        slot.voice->Enable3D();
        slot.voice->Set3DPosition(place->position);
        slot.voice->Set3DRange(place->minDistance, place->maxDistance);
    }
    slot.data = std::move(ref.data);
    slot.handle = handle;
    if (handle) {
        handle->voice = slot.voice.get();
    }
    slot.idle = false;
    slot.event.Set();
}

void DS8Audio::PlayOnceSound(SoundRef& ref, float volume, VoiceHandle* handle)
{
    QueueOneShot(ref, volume, handle, nullptr);
}

void DS8Audio::PlayOnceAt(SoundRef& ref, const Vec3& position, float minDistance, float maxDistance,
                          float volume, VoiceHandle* handle)
{
    Sound3D place;
    place.position = position;
    place.SetRange(minDistance, maxDistance);
    QueueOneShot(ref, volume, handle, &place);
}

void DS8Audio::ReleaseHandle(VoiceHandle* handle)
{
    CriticalSectionLock lock(deviceLock_);
    for (OneShot& oneShot : oneShots_) {
        if (oneShot.handle == handle) {
            oneShot.handle = nullptr;
        }
    }
    // A request still being loaded must not hand the handle on either.
    for (LoaderSlot& slot : loaders_) {
        if (slot.handle == handle) {
            slot.handle = nullptr;
        }
    }
}

void DS8Audio::Update(float)
{
    CriticalSectionLock lock(deviceLock_);
    {
        CriticalSectionLock mixing(mixer_.GetLock());
        for (const std::unique_ptr<Voice>& voice : voices_) {
            if (voice->IsPlaying()) {
                Update3D(*voice);
            }
        }
    }
    ReapOneShot();
}

// At most one ended one-shot sound per frame. Its handle is told last, when
// the sound is gone: the owner may release the handle or destroy voices then.
void DS8Audio::ReapOneShot()
{
    auto ended = std::find_if(oneShots_.begin(), oneShots_.end(),
                              [](const OneShot& oneShot) { return !oneShot.voice->IsPlaying(); });
    if (ended == oneShots_.end()) {
        return;
    }
    VoiceHandle* handle = ended->handle;
    std::unique_ptr<Voice> voice = std::move(ended->voice);
    oneShots_.erase(ended);
    voice.reset();
    cache_.FreeFirstUnused();
    if (handle) {
        handle->voice = nullptr;
        handle->OnFinished();
    }
}

void DS8Audio::Update3D(Voice& voice)
{
    const Sound3D* place = voice.Get3D();
    if (!place) {
        return;
    }
    const VolumePan placed = PlaceSound(listenerPose_, *place, voice.GetEffectiveVolume());
    voice.GetChannel().SetVolumePan(placed.volume, placed.pan);
    voice.GetChannel().SetPitch(voice.GetPitch());
}

void DS8Audio::SetListenerPosition(const Vec3& position)
{
    CriticalSectionLock lock(deviceLock_);
    listenerPose_.position = position;
}

void DS8Audio::SetListenerOrientation(const Quaternion& orientation)
{
    CriticalSectionLock lock(deviceLock_);
    Quaternion::ToMatrix(orientation, listenerPose_.orientation);
}

void DS8Audio::SetListenerVelocity(const Vec3& velocity)
{
    CriticalSectionLock lock(deviceLock_);
    listenerPose_.velocity = velocity;
}
