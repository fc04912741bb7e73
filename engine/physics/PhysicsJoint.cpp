#include "engine/physics/PhysicsJoint.h"

#include "engine/physics/RigidBody.h"

#include <ode/ode.h>

PhysicsJoint::~PhysicsJoint()
{
    if (handle_) {
        dJointDestroy(handle_);
    }
}

void PhysicsJoint::SetBodies(RigidBody* first, RigidBody* second)
{
    first_ = first;
    second_ = second;
    if (IsAttached()) {
        AttachOdeJoint();
    }
}

void PhysicsJoint::Attach()
{
    if (IsAttached()) {
        return;
    }
    flags_ |= kAttached;
    AttachOdeJoint();
}

void PhysicsJoint::AttachOdeJoint()
{
    dJointAttach(handle_, RigidBody::HandleOf(first_), RigidBody::HandleOf(second_));
}
