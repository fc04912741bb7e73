#include "game/world/dcWorldGeometry.h"

#include "engine/physics/PhysicsWorld.h"
#include "game/weapons/DamageMessages.h"

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
