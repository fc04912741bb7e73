#pragma once
// One contact of a collision pass: the world fills a record per contact
// joint it makes, reads the record's feedback after the step to tell the
// force listeners, and reuses the records every step.

#include "engine/physics/PhysicsJoint.h"

#include <span>

class ContactJoint : public PhysicsJoint {
public:
    // The owners to tell about this contact's forces after the step.
    const std::vector<MessageReceiver*>& GetForceListeners() const { return forceListeners_; }

private:
    friend class PhysicsWorld;

    // Takes a new contact joint and attaches it to the bodies of the pair's
    // geometries a and b (either body may be null; ODE keeps the contact
    // normal right for the order a, b). A body-less a makes b's side the
    // record's first. Without listeners ODE keeps no feedback.
    void Fill(dJointID joint, RigidBody* a, RigidBody* b, PhysicsGeom* geomA, PhysicsGeom* geomB,
              std::span<MessageReceiver* const> listeners);
    // The joint group was emptied: the joint is gone.
    void Clear();
    void ForgetListeners() { forceListeners_.clear(); }
    // The geometry is being destroyed: nothing may reach it through this
    // record any more.
    void ForgetGeom(const PhysicsGeom& geometry);
};
