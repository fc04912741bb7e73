#include "engine/physics/OffsetRigidBody.h"

OffsetRigidBody::OffsetRigidBody(PhysicsWorld& world) : RigidBody(world) {}

Vec3 OffsetRigidBody::TurnedOffset() const
{
    Matrix44 rotation;
    Quaternion::ToMatrix(GetOrientation(), rotation);
    rotation.SetRow(3, kZeroVector);
    return Vec3::TransformPoint(offset_, rotation);
}

void OffsetRigidBody::SetPosition(const Vec3& position)
{
    RigidBody::SetPosition(position + TurnedOffset());
}

Vec3 OffsetRigidBody::GetPosition() const
{
    return RigidBody::GetPosition() - TurnedOffset();
}

Matrix44 OffsetRigidBody::GetTransform() const
{
    Matrix44 transform;
    GetRotation(transform);
    transform.SetRow(3, GetPosition());
    transform.m[3][3] = 1.0f;
    return transform;
}

// The transform is the reference point's, as GetTransform reports it, so a
// transform read and set again leaves the body where it was.
void OffsetRigidBody::SetTransform(const Matrix44& transform)
{
    SetRotation(transform);
    SetPosition(transform.GetRow(3));
}
