#include "engine/physics/ContactJoint.h"

#include "engine/physics/RigidBody.h"

#include <ode/ode.h>

void ContactJoint::Fill(dJointID joint, RigidBody* a, RigidBody* b, PhysicsGeom* geomA, PhysicsGeom* geomB,
                        std::span<MessageReceiver* const> listeners)
{
    handle_ = joint;
    dJointSetData(joint, this);
    dJointAttach(joint, RigidBody::HandleOf(a), RigidBody::HandleOf(b));
    flags_ = kAttached;
    if (a) {
        first_ = a;
        second_ = b;
        firstGeom_ = geomA;
        secondGeom_ = geomB;
    } else {
        first_ = b;
        second_ = nullptr;
        firstGeom_ = geomB;
        secondGeom_ = geomA;
    }
    // assign() reuses the record's storage once it has grown.
    forceListeners_.assign(listeners.begin(), listeners.end());
    dJointSetFeedback(joint, listeners.empty() ? nullptr : &feedback_);
}

void ContactJoint::Clear()
{
    handle_ = nullptr;
    flags_ = 0;
    forceListeners_.clear();
}

void ContactJoint::ForgetGeom(const PhysicsGeom& geometry)
{
    if (firstGeom_ != &geometry && secondGeom_ != &geometry) {
        return;
    }
    ForgetListeners();
    if (firstGeom_ == &geometry) {
        firstGeom_ = nullptr;
    }
    if (secondGeom_ == &geometry) {
        secondGeom_ = nullptr;
    }
}
