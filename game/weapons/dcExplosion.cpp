#include "game/weapons/dcExplosion.h"

#include "engine/audio/AudioDevice.h"
#include "engine/audio/SoundGroups.h"
#include "engine/core/dcEngine.h"
#include "engine/files/RandomRange.h"
#include "engine/math/Matrix44.h"
#include "engine/physics/ContactJoint.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/physics/RigidBody.h"
#include "game/weapons/DamageMessages.h"
#include "game/weapons/EffectObjects.h"
#include "game/weapons/EntityPool.h"
#include "game/weapons/ExplosionKind.h"
#include "game/weapons/SensorGeometry.h"
#include "game/weapons/SmokeMaker.h"
#include "game/weapons/TargetMessage.h"
#include "game/weapons/dcExplosionMaker.h"
#include "game/weapons/dcRockDebris.h"
#include "game/world/GameModule.h"
#include "render/models/Camera.h"
#include "render/models/Model.h"
#include "render/shaders/ShaderVariableRegistry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

EntityPool<dcExplosion>& ExplosionPool()
{
    static EntityPool<dcExplosion> pool;
    return pool;
}

std::vector<dcExplosion*>& LiveList()
{
    static std::vector<dcExplosion*> live;
    return live;
}

struct Shockwave {
    std::unique_ptr<Model> model;
    int32_t alphaFader = -1;
};

Shockwave& TheShockwave()
{
    static Shockwave shockwave;
    return shockwave;
}

constexpr float kSideScatter = 10.0f;
constexpr float kSpriteLift = 15.0f;
constexpr int32_t kSmokePuffs = 32;
constexpr float kSmokeScatter = 25.0f;
constexpr float kSmokeSpeed = 20.0f;
constexpr float kSmokeGrowth = 3.0f;
constexpr float kSmokeAlpha = 0.75f;
constexpr float kDebrisLife = 7.0f;
constexpr int32_t kFewestDebris = 12;
constexpr int32_t kMostDebris = 23;
constexpr float kDebrisSpeed = 100.0f;
constexpr float kSoundNear = 2500.0f;
constexpr float kSoundFar = 10000.0f;
constexpr Vec3 kDrop{0.0f, dcExplosion::kSphereDrop, 0.0f};

// Unit length, or the zero vector for a zero one.
Vec3 Direction(const Vec3& v)
{
    const float length = v.Length();
    return length > 0.0f ? Vec3::Scale(v, 1.0f / length) : Vec3{};
}

} // namespace

dcExplosion::dcExplosion()
{
    Handles<dcGameReset, &dcExplosion::OnGameReset>();
    Handles<dcSceneAdd, &dcExplosion::OnSceneAdd>();
    Handles<dcSceneDel, &dcExplosion::OnSceneDel>();
    Handles<dcUpdate, &dcExplosion::OnUpdate>();
    Handles<dcRender, &dcExplosion::OnRender>();
    Handles<dcCollisionCull, &dcExplosion::OnCollisionCull>();
    Handles<dcCollision, &dcExplosion::OnCollision>();
    Handles<dcPhysicsForce, &dcExplosion::OnPhysicsForce>();
    sphere_.SetOwner(this);
    sphere_.SetFlag(kSensorFlags, true);
    sphere_.SetCategoryBits(kCategory);
    sphere_.SetCollideBits(kCollides);
    Shockwave& shockwave = TheShockwave();
    if (!shockwave.model) {
        shockwave.model = std::make_unique<Model>(L"Models\\Shockwave.DCM", WideString());
        shockwave.alphaFader = shockwave.model->AddVariable(L"AlphaFader", kShaderValue, false);
    }
}

const std::vector<dcExplosion*>& dcExplosion::LiveExplosions()
{
    return LiveList();
}

void dcExplosion::Spawn(PhysicsGeom* attacker, const Vec3& point, const Vec3& normal, int32_t kind, int32_t rideId)
{
    GameModule* game = GameModule::Get();
    const ExplosionKind* record = ExplosionKind::Find(kind);
    if (!game) {
        return;
    }
    Scene& scene = game->GetScene();
    dcExplosion* explosion = ExplosionPool().Take();
    explosion->offset_ = {RandomRange(-kSideScatter, kSideScatter), 0.0f, RandomRange(-kSideScatter, kSideScatter)};
    if (!explosion->Mount(scene, rideId, point)) {
        explosion->rideId_ = 0;
        explosion->rideDistance_ = 0.0f;
    }
    explosion->point_ = point;
    MessageReceiver* attackerOwner = attacker ? attacker->GetOwner() : nullptr;
    explosion->attackerId_ = attackerOwner ? attackerOwner->GetId() : 0;
    explosion->PlaceSphere(Vec3::Subtract(Vec3::Add(point, explosion->offset_), kDrop), normal);
    explosion->finalExtent_ = kFinalExtent;
    explosion->growth_ = kGrowth;
    explosion->damageFactor_ = 1.0f;
    if (record) {
        explosion->ShowSprite(*record, normal);
    }
    explosion->ThrowSmoke(normal);
    TheShockwave().model->SetParent(&game->GetWorld());   // the running game's world
    scene.Add(explosion);
    LiveList().push_back(explosion);
    dcRockDebris::Spawn(point, kDebrisLife, kFewestDebris, kMostDebris, kDebrisSpeed, false, WideString());
    if (record) {
        explosion->Sound(*record);
    }
}

bool dcExplosion::Mount(Scene& scene, int32_t rideId, const Vec3& point)
{
    dcTargetMessage target;
    if (SendToEntity(scene, rideId, target) == 0) {
        return false;
    }
    rideDistance_ = Vec3::Subtract(point, target.position).Length();
    rideId_ = rideId;
    offset_ = Vec3::Add(offset_, target.velocity);
    return true;
}

void dcExplosion::PlaceSphere(const Vec3& centre, const Vec3& normal)
{
    const Vec3 hint = std::fabs(normal.x) < std::fabs(normal.z) ? Vec3{1.0f, 0.0f, 0.0f} : Vec3{0.0f, 0.0f, 1.0f};
    Matrix44 pose;
    pose.FromUpForward(hint, normal);
    pose.SetRow(3, centre);
    sphere_.SetTransform(pose);
    sphere_.SetRadius(kSpawnRadius);
}

void dcExplosion::ShowSprite(const ExplosionKind& kind, const Vec3& normal) const
{
    EffectObjects* effects = EffectObjects::Get();
    if (!effects || kind.flipBooks.empty()) {
        return;   // no folder with frames: the blast shows only its smoke
    }
    auto* sprite = static_cast<ExplosionParticle*>(effects->GetExplosions().Emit(kEmitAlways));
    const size_t book = static_cast<size_t>(std::rand()) % kind.flipBooks.size();
    sprite->SetFlipBook(kind.flipBooks[book]->Clone());
    sprite->SetSize(kind.spriteSize);
    sprite->position = Vec3::Add(point_, Vec3::Scale(normal, kSpriteLift));
}

void dcExplosion::ThrowSmoke(const Vec3& normal) const
{
    EffectObjects* effects = EffectObjects::Get();
    if (!effects) {
        return;
    }
    const Vec3 lifted = Vec3::Add(point_, Vec3::Scale(normal, kSmokeScatter));
    for (int32_t i = 0; i < kSmokePuffs; ++i) {
        Particle* puff = effects->GetSmoke().Emit(kEmitRecycleOldest);
        if (!puff) {
            return;
        }
        puff->position = Vec3::Add(lifted, {RandomRange(-kSmokeScatter, kSmokeScatter),
                                            RandomRange(-kSmokeScatter, kSmokeScatter),
                                            RandomRange(-kSmokeScatter, kSmokeScatter)});
        puff->drawFlags = kParticleModulate;
        puff->velocity = {kSmokeSpeed * RandomRange(-0.5f, 0.5f), kSmokeSpeed * RandomRange(0.0f, 1.0f),
                          kSmokeSpeed * RandomRange(-0.5f, 0.5f)};
        if (!puff->layers.empty()) {
            ParticleLayer& layer = puff->layers.front();
            layer.x *= kSmokeGrowth;
            layer.y *= kSmokeGrowth;
            layer.w *= kSmokeGrowth;
            layer.h *= kSmokeGrowth;
            puff->UpdateRadius();
        }
        puff->colour.a = kSmokeAlpha;
    }
}

void dcExplosion::Sound(const ExplosionKind& kind) const
{
    AudioDevice* audio = dcEngine::Instance().GetAudioDevice();
    if (!audio || kind.sounds.empty()) {
        return;
    }
    const WideString& sound = kind.sounds[static_cast<size_t>(std::rand()) % kind.sounds.size()];
    audio->PlayAt(sound, point_, kSoundNear, kSoundFar, EffectsSoundGroup().GetVolume(), nullptr);
}

void dcExplosion::Release(dcExplosion& explosion)
{
    if (!ExplosionPool().Release(explosion)) {
        return;
    }
    std::vector<dcExplosion*>& live = LiveList();
    live.erase(std::remove(live.begin(), live.end(), &explosion), live.end());
}

void dcExplosion::OnSceneAdd(const dcSceneAdd&)
{
    GameModule* game = GameModule::Get();
    physical_ = game && static_cast<int32_t>(LiveList().size()) < kMostPhysical;
    if (physical_) {
        sphere_.AddToWorld(game->GetWorld().GetPhysics());
    }
}

void dcExplosion::OnSceneDel(const dcSceneDel&)
{
    PhysicsWorld* world = sphere_.GetWorld();
    if (physical_ && world) {
        sphere_.RemoveFromWorld(*world);
    }
    physical_ = false;
}

void dcExplosion::OnUpdate(const dcUpdate& message)
{
    const float radius = sphere_.GetRadius();
    const float extent = growth_ * message.step + 9.0f * radius * radius;
    if (extent > finalExtent_ * finalExtent_) {
        Release(*this);
        return;
    }
    sphere_.SetRadius(std::sqrt(extent) / 3.0f);
    if (Scene* scene = GetScene()) {
        Follow(*scene);
    }
}

void dcExplosion::Follow(Scene& scene)
{
    dcOrientation pose;
    if (SendToEntity(scene, rideId_, pose) == 0) {
        return;
    }
    const Vec3 entity = pose.position;
    const Vec3 mounted = Vec3::Add(point_, offset_);
    if (Vec3::Subtract(entity, mounted).Length() <= rideDistance_) {
        return;
    }
    point_ = Vec3::Subtract(entity, Vec3::Scale(Direction(Vec3::Subtract(entity, point_)), rideDistance_));
    const Vec3 centre = Vec3::Subtract(entity, Vec3::Scale(Direction(Vec3::Subtract(entity, mounted)), rideDistance_));
    sphere_.SetPosition(Vec3::Subtract(centre, kDrop));
}

void dcExplosion::OnCollisionCull(const dcCollisionCull& message)
{
    // Bodies (cars, debris) never meet the blast: only static things do.
    message.collide = message.other && !message.other->GetRigidBody() ? 1 : 0;
}

void dcExplosion::Damage(MessageReceiver& victim, float amount) const
{
    dcDamageMessage damage;
    Scene* scene = GetScene();
    damage.attacker = scene && attackerId_ != 0 ? scene->FindReceiver(attackerId_) : nullptr;
    damage.amount = amount;
    damage.kind = kDamageExplosion;
    SendDamageMessage(victim, damage);
}

void dcExplosion::OnCollision(const dcCollision& message)
{
    MessageReceiver* victim = message.other ? message.other->GetOwner() : nullptr;
    PhysicsWorld* world = sphere_.GetWorld();
    if (victim && world) {
        Damage(*victim, world->GetStepLength() * damageFactor_ * kBlastDamage);
    }
}

void dcExplosion::OnPhysicsForce(const dcPhysicsForce& message)
{
    RigidBody* body = message.contact ? message.contact->GetFirstBody() : nullptr;
    PhysicsGeom* geometry = body ? body->GetGeom() : nullptr;
    MessageReceiver* victim = geometry ? geometry->GetOwner() : nullptr;
    if (victim) {
        const float force = Vec3::Dot(message.force1, message.force1);
        Damage(*victim, force * damageFactor_ * message.stepLength * kForceDamage);
    }
}

void dcExplosion::OnRender(const dcRender& message)
{
    Shockwave& shockwave = TheShockwave();
    Model& model = *shockwave.model;
    if (!message.camera || (model.GetPassMask(0) & message.passBit) == 0) {
        return;
    }
    const BoundingBox box{Vec3::Add(model.GetBoundsCentre(), point_), model.GetBoundsHalfExtents()};
    if (!message.camera->GetFrustum().IsBoxVisible(box)) {
        return;
    }
    const float reach = 3.0f * sphere_.GetRadius();
    const float spread = 2.0f * reach * reach;
    const float base = std::sqrt(std::max(0.0f, 1.0f - reach / finalExtent_));
    Matrix44 rotation;
    sphere_.GetRotation(rotation);
    rotation.SetRow(3, point_);
    for (int32_t ring = 1; ring <= kShockwaveRings; ++ring) {
        const float width = 0.2f * std::sqrt(spread / (4.0f * ring));
        Matrix44 transform;
        transform.Scale({width, 1.0f, width});
        transform.PostMultiply(rotation);
        model.SetFloat(shockwave.alphaFader, std::min(0.1f * ring * base, 1.0f));
        model.Render(transform, message.pass, 0);
    }
}
