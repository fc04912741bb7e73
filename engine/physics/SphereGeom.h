#pragma once
// A sphere: wheels, sensor spheres of pickups and detectors.

#include "engine/physics/PhysicsGeom.h"

class SphereGeom : public PhysicsGeom {
public:
    explicit SphereGeom(float radius);

    void SetRadius(float radius);
    float GetRadius() const;
};
