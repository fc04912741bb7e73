#include "engine/physics/SpaceGeom.h"

#include <ode/ode.h>

SpaceGeom::SpaceGeom(const BoundingBox& bounds, int32_t depth)
{
    const dVector3 centre = {bounds.centre.x, bounds.centre.y, bounds.centre.z, 0.0f};
    const dVector3 extents = {bounds.halfExtents.x, bounds.halfExtents.y, bounds.halfExtents.z, 0.0f};
    dSpaceID space = dQuadTreeSpaceCreate(nullptr, centre, extents, depth);
    // The geometries inside have wrappers of their own that destroy them.
    dSpaceSetCleanup(space, 0);
    Adopt(reinterpret_cast<dGeomID>(space));
    SetFlag(kGeomAlwaysCollide, true);
}

void SpaceGeom::Add(PhysicsGeom& geometry)
{
    if (!dGeomGetSpace(geometry.GetHandle())) {
        dSpaceAdd(GetSpace(), geometry.GetHandle());
    }
}

void SpaceGeom::Remove(PhysicsGeom& geometry)
{
    if (dSpaceQuery(GetSpace(), geometry.GetHandle())) {
        dSpaceRemove(GetSpace(), geometry.GetHandle());
    }
}

void SpaceGeom::Clean()
{
    dSpaceClean(GetSpace());
}
