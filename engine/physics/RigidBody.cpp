#include "engine/physics/RigidBody.h"

#include "engine/physics/OdeConversions.h"
#include "engine/physics/PhysicsGeom.h"
#include "engine/physics/PhysicsWorld.h"

#include <ode/ode.h>

namespace {

dMass ReadMass(dBodyID body)
{
    dMass mass;
    dMassSetZero(&mass);
    dBodyGetMass(body, &mass);
    return mass;
}

void SetInertiaDiagonal(dBodyID body, dMass& mass, float i11, float i22, float i33)
{
    mass.I[0] = i11;
    mass.I[5] = i22;
    mass.I[10] = i33;
    dBodySetMass(body, &mass);
}

} // namespace

RigidBody::RigidBody(PhysicsWorld& world) : world_(world), handle_(dBodyCreate(world.GetOdeWorld()))
{
    dBodySetData(handle_, this);
    dBodyDisable(handle_);
}

RigidBody::~RigidBody()
{
    if (geometry_) {
        geometry_->AttachToBody(nullptr);
        geometry_ = nullptr;
    }
    dBodyDestroy(handle_);
    world_.RemoveBody(*this);
}

void RigidBody::AttachGeom(PhysicsGeom* geometry)
{
    if (geometry_) {
        geometry_->AttachToBody(nullptr);
    }
    geometry_ = geometry;
    if (geometry_) {
        geometry_->AttachToBody(this);
    }
}

void RigidBody::ForgetGeom(const PhysicsGeom& geometry)
{
    if (geometry_ == &geometry) {
        geometry_ = nullptr;
    }
}

void RigidBody::SetLinearVelocity(const Vec3& velocity)
{
    dBodySetLinearVel(handle_, velocity.x, velocity.y, velocity.z);
}

Vec3 RigidBody::GetPointVelocity(const Vec3& point) const
{
    dVector3 velocity;
    dBodyGetRelPointVel(handle_, point.x, point.y, point.z, velocity);
    return VecFromOde(velocity);
}

Vec3 RigidBody::GetLinearVelocity() const
{
    return VecFromOde(dBodyGetLinearVel(handle_));
}

void RigidBody::SetAngularVelocity(const Vec3& velocity)
{
    dBodySetAngularVel(handle_, velocity.x, velocity.y, velocity.z);
}

Vec3 RigidBody::GetAngularVelocity() const
{
    return VecFromOde(dBodyGetAngularVel(handle_));
}

void RigidBody::SetPosition(const Vec3& position)
{
    dBodySetPosition(handle_, position.x, position.y, position.z);
}

Vec3 RigidBody::GetPosition() const
{
    return VecFromOde(dBodyGetPosition(handle_));
}

void RigidBody::SetOrientation(const Quaternion& orientation)
{
    dQuaternion q;
    QuaternionToOde(orientation, q);
    dBodySetQuaternion(handle_, q);
}

Quaternion RigidBody::GetOrientation() const
{
    return QuaternionFromOde(dBodyGetQuaternion(handle_));
}

Matrix44 RigidBody::GetTransform() const
{
    Matrix44 transform;
    GetRotation(transform);
    transform.SetRow(3, GetPosition());
    return transform;
}

void RigidBody::GetRotation(Matrix44& out) const
{
    RotationFromOde(dBodyGetRotation(handle_), out);
}

void RigidBody::SetTransform(const Matrix44& transform)
{
    SetRotation(transform);
    SetPosition(transform.GetRow(3));
}

void RigidBody::SetRotation(const Matrix44& rotation)
{
    dMatrix3 r;
    RotationToOde(rotation, r);
    dBodySetRotation(handle_, r);
}

void RigidBody::SetMass(float mass)
{
    dMass record = ReadMass(handle_);
    record.mass = mass;
    dBodySetMass(handle_, &record);
}

float RigidBody::GetMass() const
{
    return ReadMass(handle_).mass;
}

void RigidBody::SetCenterOfMass(const Vec3& centre)
{
    dMass record = ReadMass(handle_);
    record.c[0] = centre.x;
    record.c[1] = centre.y;
    record.c[2] = centre.z;
    record.c[3] = 0.0f;
    dBodySetMass(handle_, &record);
}

Vec3 RigidBody::GetCenterOfMass() const
{
    return VecFromOde(ReadMass(handle_).c);
}

Vec3 RigidBody::SetBoxInertia(const Vec3& halfExtents)
{
    const Vec3 lengths = halfExtents * 2.0f;
    const Vec3 squares{lengths.x * lengths.x, lengths.y * lengths.y, lengths.z * lengths.z};
    dMass record = ReadMass(handle_);
    const float m = record.mass;
    SetInertiaDiagonal(handle_, record, m * (squares.y + squares.z) / 12.0f, m * (squares.x + squares.z) / 12.0f,
                       m * (squares.x + squares.y) / 12.0f);
    return squares;
}

float RigidBody::SetSphereInertia(float radius)
{
    dMass record = ReadMass(handle_);
    const float inertia = 0.4f * record.mass * radius * radius;
    SetInertiaDiagonal(handle_, record, inertia, inertia, inertia);
    return inertia;
}

void RigidBody::SetScaledInertia(const Vec3& v)
{
    constexpr float kTwelfth = 0.083333336f;
    dMass record = ReadMass(handle_);
    const float m = record.mass;
    SetInertiaDiagonal(handle_, record, m * v.x * kTwelfth, m * v.y * kTwelfth, m * v.z * kTwelfth);
}

void RigidBody::AddTorque(const Vec3& torque)
{
    dBodyAddTorque(handle_, torque.x, torque.y, torque.z);
}

void RigidBody::AddRelTorque(const Vec3& torque)
{
    dBodyAddRelTorque(handle_, torque.x, torque.y, torque.z);
}

void RigidBody::AddForceAtPosition(const Vec3& force, const Vec3& position)
{
    dBodyAddForceAtPos(handle_, force.x, force.y, force.z, position.x, position.y, position.z);
}

void RigidBody::AddForce(const Vec3& force)
{
    dBodyAddForce(handle_, force.x, force.y, force.z);
}

void RigidBody::AddRelForceAtPosition(const Vec3& force, const Vec3& position)
{
    dBodyAddRelForceAtPos(handle_, force.x, force.y, force.z, position.x, position.y, position.z);
}

void RigidBody::AddRelForce(const Vec3& force)
{
    dBodyAddRelForce(handle_, force.x, force.y, force.z);
}

void RigidBody::Enable()
{
    dBodyEnable(handle_);
}

void RigidBody::Disable()
{
    dBodyDisable(handle_);
}

bool RigidBody::IsEnabled() const
{
    return dBodyIsEnabled(handle_) != 0;
}

void RigidBody::EnableGravity()
{
    dBodySetGravityMode(handle_, 1);
}

void RigidBody::DisableGravity()
{
    dBodySetGravityMode(handle_, 0);
}

bool RigidBody::IsConnectedTo(const RigidBody& other) const
{
    return dAreConnectedExcluding(handle_, other.handle_, dJointTypeContact) != 0;
}
