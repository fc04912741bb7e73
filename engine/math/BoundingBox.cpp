#include "engine/math/BoundingBox.h"

#include <algorithm>
#include <cmath>
#include <iterator>

void MakeBoxCorners(const Vec3& c, const Vec3& x, const Vec3& y, const Vec3& z, Vec3 corners[8])
{
    corners[0] = c - x - y - z;
    corners[1] = c + x - y - z;
    corners[2] = c + x + y - z;
    corners[3] = c - x + y - z;
    corners[4] = c - x - y + z;
    corners[5] = c + x - y + z;
    corners[6] = c + x + y + z;
    corners[7] = c - x + y + z;
}

void BoundingBox::GetCorners(const BoundingBox& box, Vec3 corners[8], int32_t edges[24])
{
    const Vec3& half = box.halfExtents;
    MakeBoxCorners(box.centre, {half.x, 0.0f, 0.0f}, {0.0f, half.y, 0.0f}, {0.0f, 0.0f, half.z}, corners);
    std::copy(std::begin(BoxEdgeList), std::end(BoxEdgeList), edges);
}

BoundingBox BoundingBox::Transform(const BoundingBox& box, const Matrix44& m)
{
    const float half[3] = {box.halfExtents.x, box.halfExtents.y, box.halfExtents.z};
    float extents[3];
    for (int i = 0; i < 3; ++i) {
        extents[i] = std::fabs(m.m[0][i]) * half[0] + std::fabs(m.m[1][i]) * half[1] + std::fabs(m.m[2][i]) * half[2];
    }
    return {Vec3::TransformPoint(box.centre, m), {extents[0], extents[1], extents[2]}};
}
