#pragma once
// A ray of a given length: probes, line-of-sight tests, wheel rays.

#include "engine/physics/PhysicsGeom.h"

class RayGeom : public PhysicsGeom {
public:
    explicit RayGeom(float length);

    void SetLength(float length);
    float GetLength() const;
    // ODE normalises the direction.
    void Set(const Vec3& origin, const Vec3& direction);
    // Note the order: backface culling first, first-contact mode second.
    void SetParams(bool backfaceCull, bool firstContact);
};
