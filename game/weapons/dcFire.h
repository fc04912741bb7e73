#pragma once
// A fire burning on a point of an entity (or free-standing, on a point of the
// world) for a few seconds: it throws flames from that point, ten a second,
// and hands the burning entity Fire damage every fixed step. Fires are
// pooled; a live one belongs to the game module's scene.

#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/math/Vec3.h"
#include "game/world/GameMessages.h"

#include <cstdint>

class dcFire : public MessageReceiver {
    DC_RECEIVER(dcFire, MessageReceiver)
public:
    static constexpr float kEmitInterval = 0.1f;   // seconds between flames
    static constexpr float kDamagePerSecond = 10.0f;   // times the damage rate

    dcFire();

    // attackerId and burningId are ids in the game scene (0: none); the
    // damage rate scales the Fire damage. Null without a game module. The
    // caller may keep the fire to end it early.
    static dcFire* Spawn(int32_t attackerId, int32_t burningId, const Vec3& worldPosition, float duration,
                         float damageRate);
    // Back to the pool; a fire released already stays there once.
    static void Release(dcFire& fire);

    int32_t GetBurningId() const { return burningId_; }
    float GetRemainingTime() const { return remainingTime_; }
    // In the burning entity's frame when it answered at spawn, else in the world.
    const Vec3& GetPosition() const { return position_; }

protected:
    virtual void OnGameReset(const dcGameReset& message);
    virtual void OnUpdate(const dcUpdate& message);
    virtual void OnVisTest(const dcVisTest& message);

private:
    // The stored point in the world: moved with the burning entity while it answers.
    Vec3 WorldPoint(Scene& scene) const;
    void EmitFlame(const Vec3& point) const;
    void Burn(Scene& scene, float step) const;

    int32_t attackerId_ = 0;
    int32_t burningId_ = 0;
    Vec3 position_;
    float remainingTime_ = 0.0f;
    float damageRate_ = 0.0f;
    float emitAccumulator_ = 0.0f;   // seconds of flames owed
};
// handlers: dcGameReset -> OnGameReset, dcUpdate -> OnUpdate, dcVisTest -> OnVisTest
