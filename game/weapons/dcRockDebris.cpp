#include "game/weapons/dcRockDebris.h"

#include "engine/audio/AudioDevice.h"
#include "engine/audio/SoundGroups.h"
#include "engine/core/dcEngine.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/RandomRange.h"
#include "game/weapons/EntityPool.h"
#include "game/world/GameModule.h"
#include "render/models/Camera.h"
#include "render/models/Model.h"

#include <cstdlib>

namespace {

EntityPool<dcRockDebris>& DebrisPool()
{
    static EntityPool<dcRockDebris> pool;
    return pool;
}

// Three random values about 0, as a unit vector.
Vec3 RandomUnit()
{
    Vec3 v{RandomRange(0.0f, 1.0f) - 0.5f, RandomRange(0.0f, 1.0f) - 0.5f, RandomRange(0.0f, 1.0f) - 0.5f};
    v.Normalize();
    return v;
}

Quaternion RandomOrientation()
{
    Quaternion q{RandomRange(0.0f, 1.0f) - 0.5f, RandomRange(0.0f, 1.0f) - 0.5f, RandomRange(0.0f, 1.0f) - 0.5f,
                 RandomRange(0.0f, 1.0f) - 0.5f};
    q.Normalize();
    return q;
}

// Upward and outward, at the speed.
Vec3 RandomFlight(float speed)
{
    Vec3 direction{RandomRange(-0.25f, 0.25f), RandomRange(0.02f, 0.2f), RandomRange(-0.25f, 0.25f)};
    direction.Normalize();
    return Vec3::Scale(direction, speed);
}

} // namespace

std::vector<std::unique_ptr<Model>>& dcRockDebris::Models()
{
    static std::vector<std::unique_ptr<Model>> models;
    return models;
}

int32_t dcRockDebris::FreeCount()
{
    return DebrisPool().FreeCount();
}

dcRockDebris::dcRockDebris()
{
    Handles<dcGameReset, &dcRockDebris::OnGameReset>();
    Handles<dcUpdate, &dcRockDebris::OnUpdate>();
    Handles<dcRender, &dcRockDebris::OnRender>();
    static bool loaded = false;
    if (loaded) {
        return;
    }
    loaded = true;
    for (const WideString& name : ListFiles(L"Models\\Debris*.dcm")) {
        Models().push_back(std::make_unique<Model>(L"Models\\" + name, WideString()));
    }
}

void dcRockDebris::Spawn(const Vec3& position, float life, int32_t minimum, int32_t maximum, float speed,
                         bool playSound, const WideString& soundName)
{
    GameModule* game = GameModule::Get();
    if (!game) {
        return;
    }
    dcRockDebris* debris = DebrisPool().Take();
    if (Models().empty()) {
        DebrisPool().Return(*debris);
        return;
    }
    for (std::unique_ptr<Model>& model : Models()) {
        model->SetParent(&game->GetWorld());   // the running game's world
    }
    game->GetScene().Add(debris);
    const float count = RandomRange(static_cast<float>(minimum), static_cast<float>(maximum));
    debris->Throw(position, static_cast<int32_t>(count), speed);
    debris->life_ = life;
    AudioDevice* audio = dcEngine::Instance().GetAudioDevice();
    if (playSound && audio) {
        audio->PlayOnce(soundName, EffectsSoundGroup().GetVolume(), nullptr);
    }
}

void dcRockDebris::Throw(const Vec3& position, int32_t count, float speed)
{
    pieces_.clear();
    const int32_t models = static_cast<int32_t>(Models().size());
    for (int32_t i = 0; i < count; ++i) {
        pieces_.push_back({std::rand() % models, position, RandomOrientation(), RandomFlight(speed), RandomUnit()});
    }
}

void dcRockDebris::Release()
{
    DebrisPool().Release(*this);
}

void dcRockDebris::OnUpdate(const dcUpdate& message)
{
    GameModule* game = GameModule::Get();
    const float t = message.step;
    const Vec3 fall = game ? Vec3::Scale(game->GetWorld().GetPhysics().GetGravity(), kGravityShare * t) : Vec3{};
    for (DebrisPiece& piece : pieces_) {
        piece.orientation.ApplyRotationY(kTumbleRate * piece.spin.x * t);
        piece.orientation.ApplyRotationZ(kTumbleRate * piece.spin.y * t);
        piece.orientation.ApplyRotationNegX(kTumbleRate * piece.spin.z * t);
        piece.velocity = Vec3::Add(piece.velocity, fall);
        piece.position = Vec3::Add(piece.position, Vec3::Scale(piece.velocity, t));
    }
    life_ -= t;
    if (life_ <= 0.0f) {
        Release();
    }
}

void dcRockDebris::OnRender(const dcRender& message)
{
    if (!message.camera) {
        return;
    }
    for (const DebrisPiece& piece : pieces_) {
        Model& model = *Models()[static_cast<size_t>(piece.modelIndex)];
        const BoundingBox box{Vec3::Add(model.GetBoundsCentre(), piece.position), model.GetBoundsHalfExtents()};
        if (!message.camera->GetFrustum().IsBoxVisible(box)) {
            continue;
        }
        Matrix44 transform = Quaternion::ToTransform(piece.orientation);
        transform.SetRow(3, piece.position);
        model.Render(transform, message.pass, 0);
    }
}
