#pragma once
// One ODE joint between two bodies (a null body is the static world), with
// ODE's record of the forces it applied during the last step.

#include <ode/common.h>

#include <cstdint>
#include <vector>

class MessageReceiver;
class PhysicsGeom;
class RigidBody;

class PhysicsJoint {
public:
    PhysicsJoint() = default;
    // ODE ignores the destruction of a joint that belongs to a joint group.
    virtual ~PhysicsJoint();
    PhysicsJoint(const PhysicsJoint&) = delete;
    PhysicsJoint& operator=(const PhysicsJoint&) = delete;

    // Re-attaches at once when the joint is already attached.
    virtual void SetBodies(RigidBody* first, RigidBody* second);
    // Links the stored bodies; only the first call acts.
    void Attach();
    bool IsAttached() const { return (flags_ & kAttached) != 0; }

    RigidBody* GetFirstBody() const { return first_; }
    RigidBody* GetSecondBody() const { return second_; }
    // For contacts: the geometry whose body is the first body, and the other.
    PhysicsGeom* GetFirstGeom() const { return firstGeom_; }
    PhysicsGeom* GetSecondGeom() const { return secondGeom_; }
    const dJointFeedback& GetFeedback() const { return feedback_; }
    dJointID GetHandle() const { return handle_; }

protected:
    static constexpr uint8_t kAttached = 1;

    void AttachOdeJoint();

    dJointID handle_ = nullptr;
    std::vector<MessageReceiver*> forceListeners_;
    dJointFeedback feedback_ = {};
    RigidBody* first_ = nullptr;
    RigidBody* second_ = nullptr;
    PhysicsGeom* firstGeom_ = nullptr;
    PhysicsGeom* secondGeom_ = nullptr;
    uint8_t flags_ = 0;
};
