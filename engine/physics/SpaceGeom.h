#pragma once
// A quadtree sub-space that groups many geometries (the world's static
// pieces) and sits in the world's space as one geometry. When a pass meets it
// the geometries inside are tested one by one. It does not own them.

#include "engine/physics/PhysicsGeom.h"

class SpaceGeom : public PhysicsGeom {
public:
    SpaceGeom(const BoundingBox& bounds, int32_t depth);

    virtual void Add(PhysicsGeom& geometry);
    virtual void Remove(PhysicsGeom& geometry);
    void Clean();

    dSpaceID GetSpace() const { return reinterpret_cast<dSpaceID>(GetHandle()); }
};
