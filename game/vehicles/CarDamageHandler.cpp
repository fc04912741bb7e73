#include "game/vehicles/CarDamageHandler.h"

#include "engine/files/RandomRange.h"
#include "engine/math/Scalar.h"
#include "game/vehicles/dcDamageSpark.h"
#include "game/weapons/DamageMessages.h"
#include "game/weapons/EffectObjects.h"
#include "game/weapons/SmokeMaker.h"
#include "game/world/DamageScaling.h"
#include "game/world/GameModule.h"
#include "render/models/Model.h"

#include <algorithm>

namespace {

constexpr float kSmokeThreshold = 0.001f;    // of the maximum health, unscaled
constexpr float kSmokePerHealth = 50.0f;
constexpr float kSmokeSpread = 12.5f;        // units, sideways
constexpr float kSmokeRise = 25.0f;
constexpr float kSmokeAlpha = 0.25f;
constexpr int16_t kSmokeDrawFlags = 1;
// A client's own damage never takes the last of the health: only the host's state wrecks a car there.
constexpr float kClientHealthFloor = 0.001f;

// Only the host, or a game without network, decides when a car is wrecked.
bool DecidesWrecks()
{
    const GameModule* game = GameModule::Get();
    return !game || !game->IsNetworkClient();
}

std::shared_ptr<Model> LoadDamageModel(const dcCar& car)
{
    WideString skinPath;
    FormatWideStringW(skinPath, L"\\%ls\\%ls", car.GetType().name.c_str(), car.GetSkinName().c_str());
    auto model = std::make_shared<Model>(L"Models\\Damage.DCM", skinPath);
    model->SetParent(GameModule::Get() ? &GameModule::Get()->GetWorld() : nullptr);
    return model;
}

Vec3 SmokeScatter()
{
    return {RandomRange(-kSmokeSpread, kSmokeSpread), kSmokeRise * RandomRange(0.0f, 1.0f),
            RandomRange(-kSmokeSpread, kSmokeSpread)};
}

} // namespace

CarDamageHandler::CarDamageHandler(dcCar& car) : car_(car), damageModel_(LoadDamageModel(car)) {}

void CarDamageHandler::OnDamage(const dcDamageMessage& damage)
{
    if (!Accepts(damage)) {
        return;
    }
    if (damage.kind == kDamageKill) {
        car_.killedByKillFloor = true;
    }
    const float amount = ScaledAmount(damage);
    TakeHealth(damage, amount);
    CollectImpact(amount);
    ThrowSmoke(damage);
    if (DecidesWrecks() && car_.GetHealth() <= 0.0f) {
        car_.Wreck(damage);
    }
}

// A wrecked car, and a hit on a wheel or a door, take nothing.
bool CarDamageHandler::Accepts(const dcDamageMessage& damage) const
{
    const bool onChassis = !damage.hitGeometry || damage.hitGeometry == &car_.GetChassisGeom();
    return onChassis && car_.GetHealth() != 0.0f && (!car_.invulnerable || damage.forced);
}

float CarDamageHandler::ScaledAmount(const dcDamageMessage& damage) const
{
    // Health only ever falls.
    float amount = std::max(ScaleDamage(damage.amount, damage.kind, kDamageTargetVehicles), 0.0f);
    if (damage.kind == kDamageImpact) {
        amount *= kImpactMass / car_.GetType().mass * kImpactFactor;
    }
    if (!damage.forced) {
        amount = std::min(amount, kCapShare * car_.GetMaxHealth());
    }
    if (!car_.IsOnGround()) {
        amount *= kAirborneShare;
    }
    return amount;
}

void CarDamageHandler::TakeHealth(const dcDamageMessage& damage, float amount)
{
    const Vec3 velocity = car_.GetVelocity();
    if (damage.kind == kDamageImpact && Vec3::Dot(velocity, velocity) <= kHarmlessImpactSpeedSquared) {
        return;   // bumping along slowly
    }
    float health = car_.GetHealth() - amount;
    if (!DecidesWrecks()) {
        health = std::max(health, kClientHealthFloor);
    }
    car_.SetHealth(health, car_.GetMaxHealth());
}

// The car's step turns what gathers here into one crash sound.
void CarDamageHandler::CollectImpact(float amount)
{
    if (car_.crashSoundCooldown <= 0.0f) {
        car_.crashSoundCooldown = kCrashSoundCooldown;
        car_.impactAccumulator = 0.0f;
    }
    car_.impactAccumulator += amount;
}

int32_t CarDamageHandler::SmokePuffCount(const dcDamageMessage& damage) const
{
    const float maxHealth = car_.GetMaxHealth();
    if (damage.kind == kDamageFire || damage.kind == kDamageExplosion || !(damage.amount > kSmokeThreshold * maxHealth)) {
        return 0;
    }
    return static_cast<int32_t>(4.0f * Clamp(damage.amount / maxHealth * kSmokePerHealth, 0.25f, 10.0f));
}

void CarDamageHandler::ThrowSmoke(const dcDamageMessage& damage)
{
    EffectObjects* effects = EffectObjects::Get();
    if (!effects || !car_.visibleToCamera || car_.effectsSuppressed) {
        return;
    }
    const Vec3 origin = car_.GetPosition();
    for (int32_t n = SmokePuffCount(damage); n > 0; --n) {
        Particle* puff = effects->GetSmoke().Emit(kEmitAlways);
        if (!puff) {
            return;
        }
        puff->position = origin + SmokeScatter();
        puff->velocity = SmokeScatter();
        puff->drawFlags = kSmokeDrawFlags;
        puff->colour.a = kSmokeAlpha;
    }
}

void CarDamageHandler::FollowModel()
{
    Model* model = car_.currentModel;
    if (model == partsModel_) {
        return;
    }
    parts_.clear();
    partsModel_ = model;
    if (!model) {
        return;
    }
    PhysicsWorld* physics = car_.GetChassisGeom().GetWorld();
    const std::vector<MeshNode>& nodes = model->GetNodes();
    for (int32_t i = 0; i < static_cast<int32_t>(nodes.size()); ++i) {
        const auto kind = dcCar::DamageObject::KindOf(nodes[static_cast<size_t>(i)].name);
        if (kind != dcCar::DamageObject::Kind::None) {
            parts_.push_back(std::make_unique<dcCar::DamageObject>(car_, *model, i, kind, physics));
        }
    }
}

void CarDamageHandler::StepParts(const Vec3& deceleration, float dt)
{
    FollowModel();
    for (const auto& part : parts_) {
        part->Step(deceleration, dt);
    }
}

void CarDamageHandler::PlaceParts(const Matrix44& renderMatrix)
{
    FollowModel();
    for (const auto& part : parts_) {
        part->Place(renderMatrix);
    }
}

void CarDamageHandler::SpawnContactSpark(const Vec3& point, const Vec3& velocity)
{
    dcDamageSpark::Spawn(car_.GetId(), damageModel_, point, velocity);
}

void InstallCarDamage()
{
    GetCarLinks().makeDamage = [](dcCar& car) -> std::unique_ptr<CarDamage> {
        return std::make_unique<CarDamageHandler>(car);
    };
}
