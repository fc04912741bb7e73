#pragma once
// A box given by its centre and half extents, axis-aligned unless a rotation
// comes with it.

#include "engine/math/Matrix44.h"
#include "engine/math/Vec3.h"

#include <cstdint>

// The 12 edges of a box as pairs of corner numbers. With X, Y, Z the box's
// half-axis vectors and c its centre the corners are numbered
// 0 = c-X-Y-Z, 1 = c+X-Y-Z, 2 = c+X+Y-Z, 3 = c-X+Y-Z,
// 4 = c-X-Y+Z, 5 = c+X-Y+Z, 6 = c+X+Y+Z, 7 = c-X+Y+Z.
inline constexpr int32_t BoxEdgeList[24] = {0, 1, 1, 5, 5, 4, 4, 0, 3, 2, 2, 6,
                                            6, 7, 7, 3, 3, 0, 2, 1, 6, 5, 7, 4};

// The eight corners of the box centred on c with half-axis vectors X, Y, Z, in
// the numbering of BoxEdgeList.
void MakeBoxCorners(const Vec3& c, const Vec3& x, const Vec3& y, const Vec3& z, Vec3 corners[8]);

struct BoundingBox {
    Vec3 centre;
    Vec3 halfExtents;

    // The axis-aligned outline: eight corners, and BoxEdgeList in edges.
    static void GetCorners(const BoundingBox& box, Vec3 corners[8], int32_t edges[24]);
    // The axis-aligned box around the box carried through the matrix: the
    // centre moves as a point, each half extent i becomes the sum over j of
    // |M(j, i)| x half extent j.
    static BoundingBox Transform(const BoundingBox& box, const Matrix44& m);
};
