#include "game/weapons/dcFire.h"

#include "engine/files/RandomRange.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "game/weapons/DamageMessages.h"
#include "game/weapons/EffectObjects.h"
#include "game/weapons/EntityPool.h"
#include "game/weapons/FireMaker.h"
#include "game/world/GameModule.h"

namespace {

EntityPool<dcFire>& FirePool()
{
    static EntityPool<dcFire> pool;
    return pool;
}

constexpr Color kFlameColour{1.0f, 1.0f, 1.0f, 0.5f};

// The entity's pose as a matrix; false when it does not answer.
bool EntityTransform(Scene& scene, int32_t id, Matrix44& transform)
{
    dcOrientation pose;
    if (SendToEntity(scene, id, pose) == 0) {
        return false;
    }
    transform = Quaternion::ToTransform(pose.orientation);
    transform.SetRow(3, pose.position);
    return true;
}

} // namespace

dcFire::dcFire()
{
    Handles<dcGameReset, &dcFire::OnGameReset>();
    Handles<dcUpdate, &dcFire::OnUpdate>();
    Handles<dcVisTest, &dcFire::OnVisTest>();
}

dcFire* dcFire::Spawn(int32_t attackerId, int32_t burningId, const Vec3& worldPosition, float duration,
                      float damageRate)
{
    GameModule* game = GameModule::Get();
    if (!game) {
        return nullptr;
    }
    dcFire* fire = FirePool().Take();
    Matrix44 transform;
    fire->position_ = EntityTransform(game->GetScene(), burningId, transform)
                          ? Vec3::TransformPoint(worldPosition, Matrix44::InvertRigid(transform))
                          : worldPosition;
    fire->attackerId_ = attackerId;
    fire->burningId_ = burningId;
    fire->remainingTime_ = duration;
    fire->damageRate_ = damageRate;
    fire->emitAccumulator_ = 0.0f;
    game->GetScene().Add(fire);
    return fire;
}

void dcFire::Release(dcFire& fire)
{
    FirePool().Release(fire);
}

void dcFire::OnGameReset(const dcGameReset&)
{
    Release(*this);
}

void dcFire::OnVisTest(const dcVisTest& message)
{
    // Seen wherever it is, so that it is stepped; its flames draw themselves.
    message.visible = 1;
    message.wantsRender = 0;
}

void dcFire::OnUpdate(const dcUpdate& message)
{
    Scene* scene = GetScene();
    remainingTime_ -= message.step;
    if (remainingTime_ <= 0.0f || !scene) {
        Release(*this);
        return;
    }
    emitAccumulator_ += message.step;
    const Vec3 point = WorldPoint(*scene);
    while (emitAccumulator_ > 0.0f) {
        EmitFlame(point);
        emitAccumulator_ -= kEmitInterval;
    }
    Burn(*scene, message.step);
}

Vec3 dcFire::WorldPoint(Scene& scene) const
{
    Matrix44 transform;
    return EntityTransform(scene, burningId_, transform) ? Vec3::TransformPoint(position_, transform) : position_;
}

void dcFire::EmitFlame(const Vec3& point) const
{
    EffectObjects* effects = EffectObjects::Get();
    Particle* flame = effects ? effects->GetFire().Emit(kEmitRecycleOldest) : nullptr;
    if (!flame) {
        return;
    }
    flame->position = point;
    flame->velocity = {RandomRange(-2.5f, 2.5f), 20.0f + RandomRange(-15.0f, 15.0f), RandomRange(-2.5f, 2.5f)};
    flame->colour = kFlameColour;
}

void dcFire::Burn(Scene& scene, float step) const
{
    dcDamageMessage damage;
    damage.attacker = attackerId_ != 0 ? scene.FindReceiver(attackerId_) : nullptr;
    damage.amount = damageRate_ * step * kDamagePerSecond;
    damage.kind = kDamageFire;
    SendDamageMessage(scene, burningId_, damage);
}
