#include "engine/physics/HingeJoint.h"

#include "engine/physics/PhysicsWorld.h"

#include <ode/ode.h>

#include <limits>

HingeJoint::HingeJoint(PhysicsWorld& world)
{
    handle_ = dJointCreateHinge(world.GetOdeWorld(), nullptr);
    dJointSetData(handle_, this);
}

void HingeJoint::SetAnchor(const Vec3& anchor)
{
    dJointSetHingeAnchor(handle_, anchor.x, anchor.y, anchor.z);
}

void HingeJoint::SetAxis(float x, float y, float z)
{
    dJointSetHingeAxis(handle_, x, y, z);
}

void HingeJoint::SetSecondAxis(float, float, float) {}

void HingeJoint::SetLimits(const HingeLimits& limits)
{
    constexpr float kNoStop = std::numeric_limits<float>::max();
    dJointSetHingeParam(handle_, dParamLoStop, limits.enabled ? limits.lo : -kNoStop);
    dJointSetHingeParam(handle_, dParamHiStop, limits.enabled ? limits.hi : kNoStop);
}
