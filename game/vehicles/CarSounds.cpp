#include "game/vehicles/CarSounds.h"

#include "engine/audio/AudioDevice.h"
#include "engine/audio/SoundGroups.h"
#include "engine/audio/Voice.h"
#include "engine/core/dcEngine.h"
#include "engine/files/ArchiveList.h"
#include "engine/math/Scalar.h"
#include "game/vehicles/VehicleType.h"

#include <cstdlib>

namespace {

constexpr float kNear = 100.0f;
constexpr float kFar = 500.0f;
constexpr float kGearFar = 250.0f;
constexpr float kCrashThresholds[CarSounds::kCrashClasses - 1] = {10.0f, 25.0f, 60.0f, 100.0f, 250.0f};

AudioDevice* Audio()
{
    return dcEngine::Instance().GetAudioDevice();
}

// None when the device keeps no voices.
Voice* MakeVoice(AudioDevice& audio, const WideString& file, float far)
{
    Voice* voice = audio.Play(file, true, false, false);
    if (!voice) {
        return nullptr;
    }
    voice->Set3DRange(kNear, far);
    EffectsSoundGroup().Add(*voice);
    return voice;
}

// The pitch of an engine voice: 1 at rest, one more per pitchRpm; a type
// without a pitch speed keeps the recorded pitch.
float EnginePitch(float rpm, float pitchRpm, float wheelie)
{
    return (pitchRpm != 0.0f ? rpm / pitchRpm : 0.0f) + wheelie + 1.0f;
}

void EaseRange(Voice& voice, float nearTarget, float farTarget, float t)
{
    float nearNow = 0.0f;
    float farNow = 0.0f;
    voice.Get3DRange(nearNow, farNow);
    voice.Set3DRange(Lerp(nearNow, nearTarget, t), Lerp(farNow, farTarget, t));
}

} // namespace

CarSounds::CarSounds(const WideString& typeName)
{
    AudioDevice* audio = Audio();
    if (!audio) {
        return;
    }
    const WideString folder = L"Vehicles\\" + typeName + L"\\";
    engine1_ = MakeVoice(*audio, folder + L"Engine_1.WAV", kFar);
    engine2_ = MakeVoice(*audio, folder + L"Engine_2.WAV", kFar);
    skid_ = MakeVoice(*audio, folder + L"Skid.WAV", kFar);
    gear_ = MakeVoice(*audio, folder + L"Gear.WAV", kGearFar);
    if (!engine1_ || !engine2_ || !skid_ || !gear_) {
        DestroyVoices();
        return;
    }
    for (int32_t d = 0; d < kCrashClasses; ++d) {
        const WideString prefix = L"Audio\\Crash" + std::to_wstring(d);
        for (const WideString& name : ListFiles(prefix + L"*.WAV")) {
            if (Voice* voice = MakeVoice(*audio, L"Audio\\" + name, kFar)) {
                crashes_[static_cast<size_t>(d)].push_back(voice);
            }
        }
    }
}

CarSounds::~CarSounds()
{
    DestroyVoices();
}

void CarSounds::DestroyVoices()
{
    AudioDevice* audio = Audio();
    std::vector<Voice*> voices{engine1_, engine2_, skid_, gear_};
    for (std::vector<Voice*>& list : crashes_) {
        voices.insert(voices.end(), list.begin(), list.end());
        list.clear();
    }
    for (Voice* voice : voices) {
        if (voice && audio) {
            voice->Stop();
            audio->DestroyVoice(voice);
        }
    }
    engine1_ = engine2_ = skid_ = gear_ = nullptr;
}

void CarSounds::Start()
{
    for (Voice* voice : {engine1_, engine2_, skid_}) {
        if (voice) {
            voice->SetVolume(0.0f);
            voice->Play(true);
        }
    }
}

void CarSounds::Stop()
{
    for (Voice* voice : {engine1_, engine2_, skid_}) {
        if (voice) {
            voice->SetVolume(0.0f);
            voice->Stop();
        }
    }
}

void CarSounds::PlayGearChange()
{
    if (gear_) {
        gear_->StopAndRewind();
        gear_->Play(false);
    }
}

int32_t CarSounds::CrashClass(float impact)
{
    int32_t crashClass = 0;
    while (crashClass < kCrashClasses - 1 && impact > kCrashThresholds[crashClass]) {
        ++crashClass;
    }
    return crashClass;
}

void CarSounds::PlayCrash(int32_t crashClass, const Vec3& position)
{
    const std::vector<Voice*>& list = crashes_[static_cast<size_t>(crashClass)];
    if (list.empty()) {
        return;
    }
    Voice* voice = list[static_cast<size_t>(std::rand()) % list.size()];
    voice->Set3DPosition(position);
    voice->StopAndRewind();
    voice->Play(false);
}

void CarSounds::Update(const VehicleType& type, const Drive& drive, float dt)
{
    if (!engine1_) {
        return;
    }
    for (Voice* voice : {engine1_, engine2_, gear_, skid_}) {
        voice->Set3DPosition(drive.position);
    }
    engine1_->SetPitch(EnginePitch(drive.engineRpm, type.engine1PitchRpm, drive.wheelieAmount));
    engine2_->SetPitch(EnginePitch(drive.engineRpm, type.engine2PitchRpm, drive.wheelieAmount));
    if (drive.wrecked) {
        for (Voice* voice : {engine1_, engine2_, skid_}) {
            voice->SetVolume(0.0f);
        }
        return;
    }
    UpdateEngine(type, drive, dt);
    const float skidTarget = drive.skidding ? 1.0f : 0.0f;
    skid_->SetVolume(drive.wheelSpin ? skidTarget : Lerp(skid_->GetVolume(), skidTarget, 5.0f * dt));
}

void CarSounds::UpdateEngine(const VehicleType& type, const Drive& drive, float dt)
{
    const float width = type.crossfadeHighRpm - type.crossfadeLowRpm;
    const float across = width != 0.0f ? (drive.engineRpm - type.crossfadeLowRpm) / width : 0.0f;
    const float mix = Lerp(type.crossfadeLowMix, type.crossfadeHighMix, across);
    engine1_->SetVolume(1.0f - mix);
    engine2_->SetVolume(mix);
    // The range widens with the throttle: a revving engine carries further.
    const float nearTarget = static_cast<float>(static_cast<int32_t>(Lerp(10.0f, 100.0f, drive.throttle)));
    const float farTarget = static_cast<float>(static_cast<int32_t>(Lerp(250.0f, 500.0f, drive.throttle)));
    EaseRange(*engine1_, nearTarget, farTarget, 2.0f * dt);
    EaseRange(*engine2_, nearTarget, farTarget, 2.0f * dt);
}
