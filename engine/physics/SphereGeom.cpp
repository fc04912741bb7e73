#include "engine/physics/SphereGeom.h"

#include <ode/ode.h>

SphereGeom::SphereGeom(float radius)
{
    Adopt(dCreateSphere(nullptr, radius));
}

void SphereGeom::SetRadius(float radius)
{
    dGeomSphereSetRadius(GetShape(), radius);
}

float SphereGeom::GetRadius() const
{
    return dGeomSphereGetRadius(GetShape());
}
