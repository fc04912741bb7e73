#include "engine/physics/PlaneGeom.h"

#include <ode/ode.h>

PlaneGeom::PlaneGeom(float a, float b, float c, float d)
{
    Adopt(dCreatePlane(nullptr, a, b, c, d));
}
