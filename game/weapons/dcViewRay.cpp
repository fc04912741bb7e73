#include "game/weapons/dcViewRay.h"

#include "engine/physics/PhysicsWorld.h"
#include "game/weapons/SensorGeometry.h"

dcViewRay::dcViewRay(PhysicsWorld& physics, PhysicsGeom& staticWorld)
    : RayGeom(kDefaultLength)
    , physics_(physics)
    , staticWorld_(staticWorld)
{
    Handles<dcCollisionCull, &dcViewRay::OnCollisionCull>();
    Handles<dcContact, &dcViewRay::OnContact>();
    MakeSensor(*this);
    SetOwner(this);
    instance_ = this;
}

dcViewRay::~dcViewRay()
{
    if (instance_ == this) {
        instance_ = nullptr;
    }
}

void dcViewRay::OnCollisionCull(const dcCollisionCull& message)
{
    if (message.other == ignoreGeometry_) {
        message.collide = 0;
    }
}

// Pairs tested directly are never culled, so the ignored geometry's contacts
// are dropped here as well.
void dcViewRay::OnContact(const dcContact& message)
{
    if (message.other == ignoreGeometry_ || message.depth >= nearestDistance_) {
        return;
    }
    nearestGeometry_ = message.other;
    hitPoint_ = message.position;
    hitNormal_ = message.normal;
    nearestDistance_ = message.depth;
}

void dcViewRay::BeginTest(float length)
{
    nearestDistance_ = kNothingHit;
    nearestGeometry_ = nullptr;
    SetLength(length);
    SetParams(false, false);
}

void dcViewRay::TestAgainst(PhysicsGeom& geometry)
{
    PhysicsWorld::TestPair(&physics_, *this, geometry);
}

// Answered from the contacts kept, not from the pair test: a hit on the
// ignored geometry leaves no point to report.
bool dcViewRay::Cast(float length, Vec3& out)
{
    BeginTest(length);
    TestAgainst(staticWorld_);
    if (!HasHit()) {
        return false;
    }
    out = hitPoint_;
    return true;
}

bool dcViewRay::TestLineOfSight(bool includeDynamic, float length)
{
    BeginTest(length);
    TestAgainst(staticWorld_);
    if (includeDynamic && dynamicObjects_) {
        TestAgainst(*dynamicObjects_);
    }
    if (targetGeometry_) {
        TestAgainst(*targetGeometry_);
        return nearestGeometry_ == targetGeometry_;
    }
    return HasHit();
}
