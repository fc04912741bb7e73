#pragma once
// A box given by its half extents: car chassis, characters, crates.

#include "engine/physics/PhysicsGeom.h"

class BoxGeom : public PhysicsGeom {
public:
    explicit BoxGeom(const Vec3& halfExtents);

    void SetHalfExtents(const Vec3& halfExtents);
    Vec3 GetHalfExtents() const;
    // The box's outline in world space, in the corner numbering of
    // BoxEdgeList, which edges receives. An offset box keeps its body's
    // orientation.
    void GetCorners(Vec3 corners[8], int32_t edges[24]) const;
};
