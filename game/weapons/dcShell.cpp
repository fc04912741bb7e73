#include "game/weapons/dcShell.h"

#include "engine/audio/AudioDevice.h"
#include "engine/audio/SoundGroups.h"
#include "engine/audio/Voice.h"
#include "engine/core/dcEngine.h"
#include "engine/files/ArchiveList.h"
#include "game/weapons/EntityPool.h"
#include "game/weapons/dcShellSensor.h"
#include "game/world/GameModule.h"
#include "render/models/Camera.h"
#include "render/models/Model.h"

#include <array>
#include <memory>

namespace {

EntityPool<dcShell>& ShellPool()
{
    static EntityPool<dcShell> pool;
    return pool;
}

constexpr float kClinkNear = 25.0f;
constexpr float kClinkFar = 250.0f;

struct ShellAssets {
    std::unique_ptr<Model> model;
    std::array<Voice*, dcShell::kVoiceCount> voices{};   // none without an audio device
    int32_t nextVoice = 0;
    int32_t clinks = 0;
};

ShellAssets& Assets()
{
    static ShellAssets assets;
    return assets;
}

// Strictly inside all six planes of the view.
bool InView(const Camera& camera, const Vec3& position)
{
    for (const FrustumPlane& plane : camera.GetFrustum().planes) {
        if (Vec3::Dot(plane.normal, position) - plane.distance <= 0.0f) {
            return false;
        }
    }
    return true;
}

} // namespace

dcShell::dcShell()
{
    Handles<dcGameReset, &dcShell::OnGameReset>();
    Handles<dcUpdate, &dcShell::OnUpdate>();
    Handles<dcRender, &dcShell::OnRender>();
}

void dcShell::LoadSharedAssets()
{
    ShellAssets& assets = Assets();
    if (assets.model) {
        return;
    }
    assets.model = std::make_unique<Model>(L"Models\\Shell.DCM", WideString());
    AudioDevice* audio = dcEngine::Instance().GetAudioDevice();
    if (!audio) {
        return;
    }
    std::vector<WideString> sounds = ListFiles(L"Audio\\Shell*.WAV");
    if (sounds.empty()) {
        sounds.push_back(L"Shell.WAV");
    }
    for (int32_t i = 0; i < kVoiceCount; ++i) {
        Voice* voice = audio->Play(sounds[static_cast<size_t>(i) % sounds.size()], true, false, false);
        voice->Set3DRange(kClinkNear, kClinkFar);
        EffectsSoundGroup().Add(*voice);
        assets.voices[static_cast<size_t>(i)] = voice;
    }
}

int32_t dcShell::FreeCount()
{
    return ShellPool().FreeCount();
}

int32_t dcShell::GetClinkCount()
{
    return Assets().clinks;
}

dcShell* dcShell::Spawn(const Vec3& position, const Quaternion& orientation, const Vec3& velocity, const Vec3& spin,
                        dcShellSensor* sensor)
{
    GameModule* game = GameModule::Get();
    if (!game) {
        return nullptr;
    }
    dcShell* shell = ShellPool().Take();
    game->GetScene().Add(shell);
    shell->position_ = position;
    shell->orientation_ = orientation;
    shell->velocity_ = velocity;
    shell->spin_ = spin;
    shell->sensor_ = sensor;
    shell->clinkPending_ = true;
    shell->life_ = kLife;
    if (sensor) {
        sensor->AddReference();
    }
    if (Assets().model) {
        Assets().model->SetParent(&game->GetWorld());   // the running game's world
    }
    return shell;
}

void dcShell::Release()
{
    if (ShellPool().Release(*this)) {
        LetGoOfSensor();
    }
}

void dcShell::LetGoOfSensor()
{
    if (sensor_) {
        sensor_->Release();
        sensor_ = nullptr;
    }
}

void dcShell::OnUpdate(const dcUpdate& message)
{
    Fly(message.step);
    if (sensor_) {
        Bounce();
    }
    life_ -= message.step;
    if (life_ < 0.0f) {
        Release();
    }
}

void dcShell::Fly(float t)
{
    GameModule* game = GameModule::Get();
    const Vec3 gravity = game ? game->GetWorld().GetPhysics().GetGravity() : Vec3{};
    velocity_ = Vec3::Add(velocity_, Vec3::Scale(gravity, t));
    position_ = Vec3::Add(position_, Vec3::Scale(velocity_, t));
    const Quaternion q = orientation_;
    const Vec3& s = spin_;
    orientation_.x += 0.5f * (s.x * q.w + s.y * q.z - s.z * q.y) * t;
    orientation_.y += 0.5f * (s.y * q.w - s.x * q.z + s.z * q.x) * t;
    orientation_.z += 0.5f * (s.z * q.w + s.x * q.y - s.y * q.x) * t;
    orientation_.w += -0.5f * (s.x * q.x + s.y * q.y + s.z * q.z) * t;
    orientation_.Normalize();
}

void dcShell::Bounce()
{
    for (const Plane& surface : sensor_->GetSurfaces()) {
        if (Vec3::Dot(surface.normal, position_) >= surface.distance) {
            continue;   // not sunk into this one
        }
        if (clinkPending_) {
            Clink();
        }
        BounceOffSurface(surface, position_, velocity_);
        if (Vec3::Dot(velocity_, velocity_) < kRestingSpeedSquared) {
            LetGoOfSensor();
            return;
        }
    }
}

void dcShell::Clink()
{
    clinkPending_ = false;
    ShellAssets& assets = Assets();
    ++assets.clinks;
    Voice* voice = assets.voices[static_cast<size_t>(assets.nextVoice)];
    assets.nextVoice = (assets.nextVoice + 1) % kVoiceCount;
    if (voice) {
        voice->StopAndRewind();
        voice->Set3DPosition(position_);
        voice->Play(false);
    }
}

void dcShell::OnRender(const dcRender& message)
{
    Model* model = Assets().model.get();
    if (!model || !message.camera || (model->GetPassMask(0) & message.passBit) == 0) {
        return;
    }
    if (!InView(*message.camera, position_)) {
        if (life_ < kOutOfViewLife) {
            Release();
        }
        return;
    }
    Matrix44 transform = Quaternion::ToTransform(orientation_);
    transform.SetRow(3, position_);
    model->Render(transform, message.pass, 0);
}
