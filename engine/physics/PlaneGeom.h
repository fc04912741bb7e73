#pragma once
// An infinite plane a x + b y + c z = d (ODE stores it normalised): the
// world's kill plane and flat grounds. It has no position and follows no
// body.

#include "engine/physics/PhysicsGeom.h"

class PlaneGeom : public PhysicsGeom {
public:
    PlaneGeom(float a, float b, float c, float d);
};
