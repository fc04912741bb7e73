#include "game/world/dcWorldGeometry.h"

#include "engine/physics/PhysicsWorld.h"
#include "game/weapons/DamageMessages.h"
#include "game/weapons/DecalRing.h"
#include "render/models/Camera.h"

namespace {

// How far past the camera's second detail distance, and outside its view
// planes, a decal is still queued.
constexpr float kDecalMargin = 10.0f;
constexpr int32_t kDecalDetailLevel = 1;

} // namespace

dcWorldGeometry::dcWorldGeometry() : killPlane_(0.0f, 1.0f, 0.0f, kKillPlaneHeight)
{
    Handles<dcCollision, &dcWorldGeometry::OnCollision>();
    SetOwner(this);
    SetCategoryBits(kMeshCategory);
    SetCollideBits(0);
    killPlane_.SetOwner(this);
    killPlane_.SetCategoryBits(kKillPlaneCategory);
    killPlane_.SetCollideBits(kKillPlaneCollides);
    killPlane_.SetFlag(kGeomSensing, true);
}

dcWorldGeometry::~dcWorldGeometry()
{
    if (PhysicsWorld* world = killPlane_.GetWorld()) {
        killPlane_.RemoveFromWorld(*world);
    }
}

void dcWorldGeometry::AddToPhysics(PhysicsWorld& world)
{
    AddToWorld(world);
    killPlane_.AddToWorld(world);
}

void dcWorldGeometry::RemoveFromPhysics(PhysicsWorld& world)
{
    RemoveFromWorld(world);
    killPlane_.RemoveFromWorld(world);
}

void dcWorldGeometry::OnCollision(const dcCollision& message)
{
    if (message.self != &killPlane_ || !message.other) {
        return;
    }
    if (MessageReceiver* victim = message.other->GetOwner()) {
        victim->Send(ForcedKillDamage());
    }
}

void dcWorldGeometry::CullDecals(const Camera& camera, DecalRing& ring)
{
    size_t kept = 0;
    for (int32_t serial : decals_) {
        const Decal* decal = ring.Find(serial);
        if (!decal) {
            continue;   // overwritten: forgotten
        }
        if (MaySee(camera, decal->Centre())) {
            ring.Submit(serial);
        }
        decals_[kept++] = serial;
    }
    decals_.resize(kept);
}

bool dcWorldGeometry::MaySee(const Camera& camera, const Vec3& position) const
{
    const float reach = camera.GetLodDistance(kDecalDetailLevel) + kDecalMargin;
    const Vec3 offset = Vec3::Subtract(position, camera.GetPosition());
    if (Vec3::Dot(offset, offset) > reach * reach) {
        return false;
    }
    for (const FrustumPlane& plane : camera.GetFrustum().planes) {
        if (Vec3::Dot(plane.normal, position) - plane.distance <= -kDecalMargin) {
            return false;
        }
    }
    return true;
}
