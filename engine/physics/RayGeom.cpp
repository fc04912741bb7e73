#include "engine/physics/RayGeom.h"

#include <ode/ode.h>

RayGeom::RayGeom(float length)
{
    Adopt(dCreateRay(nullptr, length));
}

void RayGeom::SetLength(float length)
{
    dGeomRaySetLength(GetShape(), length);
}

float RayGeom::GetLength() const
{
    return dGeomRayGetLength(GetShape());
}

void RayGeom::Set(const Vec3& origin, const Vec3& direction)
{
    dGeomRaySet(GetShape(), origin.x, origin.y, origin.z, direction.x, direction.y, direction.z);
}

void RayGeom::SetParams(bool backfaceCull, bool firstContact)
{
    dGeomRaySetBackfaceCull(GetShape(), backfaceCull ? 1 : 0);
    dGeomRaySetFirstContact(GetShape(), firstContact ? 1 : 0);
}
