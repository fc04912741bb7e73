#pragma once
// One ODE body in a physics world: cars, characters, debris and shells own
// one and steer it through these operations (forces, velocities, pose, mass).
// A body carries at most one geometry, which moves with it. A new body starts
// disabled; its owner enables it once it is placed. The world must outlive
// its bodies.

#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"

#include <ode/common.h>

class PhysicsGeom;
class PhysicsWorld;

class RigidBody {
public:
    explicit RigidBody(PhysicsWorld& world);
    virtual ~RigidBody();
    RigidBody(const RigidBody&) = delete;
    RigidBody& operator=(const RigidBody&) = delete;

    // The previous geometry is detached; null leaves none.
    virtual void AttachGeom(PhysicsGeom* geometry);
    virtual PhysicsGeom* GetGeom() const { return geometry_; }

    virtual void SetLinearVelocity(const Vec3& velocity);
    // The world velocity of a point given in the body's frame.
    virtual Vec3 GetPointVelocity(const Vec3& point) const;
    virtual Vec3 GetLinearVelocity() const;
    virtual void SetAngularVelocity(const Vec3& velocity);
    virtual Vec3 GetAngularVelocity() const;
    virtual void SetPosition(const Vec3& position);
    virtual Vec3 GetPosition() const;
    virtual void SetOrientation(const Quaternion& orientation);
    virtual Quaternion GetOrientation() const;
    // The translation row is GetPosition's, and SetTransform places through
    // SetPosition, so a derived body's reference point holds.
    virtual Matrix44 GetTransform() const;
    // Rows 0 to 2 of out; its translation row is left as it was.
    virtual void GetRotation(Matrix44& out) const;
    virtual void SetTransform(const Matrix44& transform);
    virtual void SetRotation(const Matrix44& rotation);

    // Replaces only the total mass: centre and inertia keep their values.
    virtual void SetMass(float mass);
    virtual float GetMass() const;
    virtual void SetCenterOfMass(const Vec3& centre);
    virtual Vec3 GetCenterOfMass() const;
    // The diagonal of a solid box's inertia for the current mass; returns the
    // squared edge lengths.
    virtual Vec3 SetBoxInertia(const Vec3& halfExtents);
    // The diagonal of a solid sphere's inertia for the current mass; returns it.
    virtual float SetSphereInertia(float radius);
    // Diagonal = mass x v / 12, for callers that square the lengths themselves.
    virtual void SetScaledInertia(const Vec3& v);

    // World frame unless "Rel" says body frame.
    virtual void AddTorque(const Vec3& torque);
    virtual void AddRelTorque(const Vec3& torque);
    virtual void AddForceAtPosition(const Vec3& force, const Vec3& position);
    virtual void AddForce(const Vec3& force);
    // Force in the body frame, position in the world frame.
    virtual void AddRelForceAtPosition(const Vec3& force, const Vec3& position);
    virtual void AddRelForce(const Vec3& force);

    virtual void Enable();
    virtual void Disable();
    virtual bool IsEnabled() const;
    virtual bool IsBody() const { return true; }
    virtual void EnableGravity();
    virtual void DisableGravity();
    // True when a joint other than a contact links the two bodies.
    virtual bool IsConnectedTo(const RigidBody& other) const;

    // Called by a geometry that is being destroyed while attached.
    void ForgetGeom(const PhysicsGeom& geometry);
    dBodyID GetHandle() const { return handle_; }
    // ODE's body, or none for the static world.
    static dBodyID HandleOf(const RigidBody* body) { return body ? body->handle_ : nullptr; }

private:
    PhysicsGeom* geometry_ = nullptr;
    PhysicsWorld& world_;
    dBodyID handle_;
};
