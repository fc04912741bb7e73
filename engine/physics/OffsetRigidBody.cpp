#include "engine/physics/OffsetRigidBody.h"

OffsetRigidBody::OffsetRigidBody(PhysicsWorld& world) : RigidBody(world) {}

Vec3 OffsetRigidBody::TurnedOffset() const
{
    Matrix44 rotation;
    Quaternion::ToMatrix(GetOrientation(), rotation);
    return Vec3::TransformDirection(offset_, rotation);
}

void OffsetRigidBody::SetPosition(const Vec3& position)
{
    RigidBody::SetPosition(position + TurnedOffset());
}

Vec3 OffsetRigidBody::GetPosition() const
{
    return RigidBody::GetPosition() - TurnedOffset();
}
