#pragma once
// A hinge between two bodies: it links the parts of the driver figure that
// sits in a car.

#include "engine/math/Vec3.h"
#include "engine/physics/PhysicsJoint.h"

class PhysicsWorld;

struct HingeLimits {
    bool enabled = false;
    float lo = 0.0f;   // radians
    float hi = 0.0f;
};

class HingeJoint : public PhysicsJoint {
public:
    explicit HingeJoint(PhysicsWorld& world);

    void SetAnchor(const Vec3& anchor);
    void SetAxis(float x, float y, float z);
    // Joint set-up code passes two axes to every joint kind; a hinge turns
    // about one and ignores the second.
    void SetSecondAxis(float x, float y, float z);
    // Disabled limits remove both stops.
    void SetLimits(const HingeLimits& limits);
};
