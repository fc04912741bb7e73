#pragma once
// The game's one ray probe, for ground probes and line-of-sight tests. It is
// never in the physics world: each test collides it pair by pair with the
// static world geometry (and, when asked, the dynamic objects and a target)
// and keeps the nearest contact. The game module makes it; everyone else
// reaches it through Get.
//
// A caller places the ray (RayGeom::Set) and sets the geometry to ignore and
// the target, if any, right before its test: they stay set for later tests.

#include "engine/core/MessageReceiver.h"
#include "engine/math/Vec3.h"
#include "engine/physics/PhysicsMessages.h"
#include "engine/physics/RayGeom.h"

class PhysicsWorld;

class dcViewRay : public RayGeom, public MessageReceiver {
    DC_RECEIVER(dcViewRay, MessageReceiver)
public:
    static constexpr float kDefaultLength = 50000.0f;
    static constexpr float kNothingHit = 1e9f;   // the nearest distance before a hit

    // Tests in the physics world against its static geometry.
    dcViewRay(PhysicsWorld& physics, PhysicsGeom& staticWorld);
    ~dcViewRay() override;

    // The ray made last; none before, or after it went.
    static dcViewRay* Get() { return instance_; }

    // The collision space of the world's movable objects, for line-of-sight
    // tests that include them; none until the world has made it.
    void SetDynamicObjects(PhysicsGeom* space) { dynamicObjects_ = space; }
    void SetIgnoreGeometry(PhysicsGeom* geometry) { ignoreGeometry_ = geometry; }
    void SetTargetGeometry(PhysicsGeom* geometry) { targetGeometry_ = geometry; }

    // The nearest hit on the static world within the length: its point in out.
    bool Cast(float length, Vec3& out);
    // With a target geometry: whether the target is the nearest hit. Without
    // one: whether anything was hit.
    bool TestLineOfSight(bool includeDynamic, float length);

    // The nearest contact of the last test.
    PhysicsGeom* GetNearestGeometry() const { return nearestGeometry_; }
    const Vec3& GetHitPoint() const { return hitPoint_; }
    const Vec3& GetHitNormal() const { return hitNormal_; }
    float GetNearestDistance() const { return nearestDistance_; }

protected:
    virtual void OnCollisionCull(const dcCollisionCull& message);
    virtual void OnContact(const dcContact& message);

private:
    // No hit yet, the length set, every contact along the ray wanted.
    void BeginTest(float length);
    void TestAgainst(PhysicsGeom& geometry);
    bool HasHit() const { return nearestDistance_ < kNothingHit; }

    static inline dcViewRay* instance_ = nullptr;

    PhysicsWorld& physics_;
    PhysicsGeom& staticWorld_;
    PhysicsGeom* dynamicObjects_ = nullptr;
    PhysicsGeom* nearestGeometry_ = nullptr;
    Vec3 hitPoint_;
    Vec3 hitNormal_;
    float nearestDistance_ = kNothingHit;
    PhysicsGeom* ignoreGeometry_ = nullptr;
    PhysicsGeom* targetGeometry_ = nullptr;
};
// handlers: dcCollisionCull -> OnCollisionCull, dcContact -> OnContact
