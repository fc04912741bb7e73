#include "render/models/Frustum.h"

#include <array>
#include <cmath>

namespace {

FrustumPlane MakePlane(float a, float b, float c, float e)
{
    FrustumPlane plane{{a, b, c}, -e, {}};
    const float length = plane.normal.Length();
    // Only a degenerate projection gives a zero normal; it stays as it is.
    if (length > 0.0f) {
        plane.normal = plane.normal * (1.0f / length);
        plane.distance /= length;
    }
    plane.absNormal = {std::fabs(plane.normal.x), std::fabs(plane.normal.y), std::fabs(plane.normal.z)};
    return plane;
}

} // namespace

void Frustum::FromViewProjection(const Matrix44& view, const Matrix44& projection)
{
    const Matrix44 product = Matrix44::Multiply(view, projection);
    // Column c of the combined matrix, as (row 1, row 2, row 3, row 4).
    auto column = [&product](int c) {
        return std::array<float, 4>{product.m[0][c], product.m[1][c], product.m[2][c], product.m[3][c]};
    };
    const auto x = column(0);
    const auto y = column(1);
    const auto z = column(2);
    const auto w = column(3);
    planes[kNear] = MakePlane(z[0], z[1], z[2], z[3]);
    planes[kFar] = MakePlane(w[0] - z[0], w[1] - z[1], w[2] - z[2], w[3] - z[3]);
    planes[kLeft] = MakePlane(x[0] + w[0], x[1] + w[1], x[2] + w[2], x[3] + w[3]);
    planes[kRight] = MakePlane(w[0] - x[0], w[1] - x[1], w[2] - x[2], w[3] - x[3]);
    planes[kTop] = MakePlane(w[0] - y[0], w[1] - y[1], w[2] - y[2], w[3] - y[3]);
    planes[kBottom] = MakePlane(y[0] + w[0], y[1] + w[1], y[2] + w[2], y[3] + w[3]);
}

bool Frustum::IsBoxVisible(const BoundingBox& box) const
{
    for (const FrustumPlane& plane : planes) {
        const float side = Vec3::Dot(plane.normal, box.centre) - plane.distance;
        const float reach = Vec3::Dot(plane.absNormal, box.halfExtents);
        if (side <= -reach) {
            return false;
        }
    }
    return true;
}
