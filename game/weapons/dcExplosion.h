#pragma once
// The entity behind every explosion. A spawn shows the kind's flip-book
// sprite, throws smoke and a burst of debris, plays the kind's sound, and
// puts a sensor sphere into the physics world that grows for about a second,
// draws a shockwave of ten rings and hands Explosion damage to the static
// things it meets. An explosion spawned on an entity follows it while it
// answers. Explosions are pooled; only the first 20 live ones at a time
// take part in the physics world, the rest are only seen and heard.

#include "engine/core/EngineMessages.h"
#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/math/Vec3.h"
#include "engine/physics/PhysicsMessages.h"
#include "engine/physics/SphereGeom.h"
#include "game/world/GameMessages.h"

#include <cstdint>
#include <vector>

class PhysicsGeom;
struct ExplosionKind;

class dcExplosion : public MessageReceiver {
    DC_RECEIVER(dcExplosion, MessageReceiver)
public:
    static constexpr int32_t kMostPhysical = 20;
    static constexpr int32_t kCategory = 0x40;
    static constexpr int32_t kCollides = 0x4;
    static constexpr float kSpawnRadius = 5.0f;
    static constexpr float kFinalExtent = 200.0f;   // of three times the radius
    static constexpr float kGrowth = 40000.0f;      // of (3 r)^2, per second
    static constexpr float kSphereDrop = 20.0f;     // the sphere's centre lies this far below the point
    static constexpr float kBlastDamage = 250.0f;   // per second inside the sphere
    static constexpr float kForceDamage = 5e-8f;    // per squared unit of contact force and second
    static constexpr int32_t kShockwaveRings = 10;

    dcExplosion();

    // attacker: the attacking entity's geometry (its owner is credited), or
    // none; normal: unit, (0, 1, 0) without a surface; kind: ExplosionKindId,
    // an unknown one explodes as the generic kind; rideId: the entity to
    // follow, 0 for none. Nothing without a game module.
    static void Spawn(PhysicsGeom* attacker, const Vec3& point, const Vec3& normal, int32_t kind, int32_t rideId);
    static void Release(dcExplosion& explosion);
    // Every live explosion, in spawn order.
    static const std::vector<dcExplosion*>& LiveExplosions();

    const SphereGeom& GetSphere() const { return sphere_; }
    const Vec3& GetPoint() const { return point_; }
    int32_t GetRideId() const { return rideId_; }
    bool IsPhysical() const { return physical_; }

protected:
    virtual void OnGameReset(const dcGameReset& message) { Release(*this); }
    virtual void OnSceneAdd(const dcSceneAdd& message);
    virtual void OnSceneDel(const dcSceneDel& message);
    virtual void OnUpdate(const dcUpdate& message);
    virtual void OnRender(const dcRender& message);
    virtual void OnCollisionCull(const dcCollisionCull& message);
    virtual void OnCollision(const dcCollision& message);
    virtual void OnPhysicsForce(const dcPhysicsForce& message);

private:
    // Riding at the point's distance from the entity: the offset grows by
    // the entity's velocity; false when it does not answer.
    bool Mount(Scene& scene, int32_t rideId, const Vec3& point);
    void PlaceSphere(const Vec3& centre, const Vec3& normal);
    void Follow(Scene& scene);
    void Damage(MessageReceiver& victim, float amount) const;
    void ShowSprite(const ExplosionKind& kind, const Vec3& normal) const;
    void ThrowSmoke(const Vec3& normal) const;
    void Sound(const ExplosionKind& kind) const;

    SphereGeom sphere_{1.0f};
    int32_t rideId_ = 0;
    float rideDistance_ = 0.0f;
    Vec3 point_;
    Vec3 offset_;
    float finalExtent_ = kFinalExtent;
    float growth_ = kGrowth;
    float damageFactor_ = 1.0f;
    int32_t attackerId_ = 0;
    bool physical_ = false;
};
// handlers: dcGameReset -> OnGameReset, dcSceneAdd -> OnSceneAdd, dcSceneDel -> OnSceneDel, dcUpdate -> OnUpdate,
//           dcRender -> OnRender, dcCollisionCull -> OnCollisionCull, dcCollision -> OnCollision,
//           dcPhysicsForce -> OnPhysicsForce
