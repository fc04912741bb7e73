#pragma once
// The six planes of a camera's view volume, for culling boxes against it.

#include "engine/math/BoundingBox.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Vec3.h"

// A point p is inside the plane when normal . p - distance >= 0. The absolute
// normal (component-wise) gives a box's reach towards the plane in one dot product.
struct FrustumPlane {
    Vec3 normal;
    float distance = 0.0f;
    Vec3 absNormal;
};

struct Frustum {
    enum PlaneIndex : int32_t { kNear, kFar, kLeft, kRight, kTop, kBottom, kPlaneCount };

    // The camera's position; the camera's user writes it, the planes never do.
    Vec3 position;
    FrustumPlane planes[kPlaneCount];

    // Rebuilds the planes from view x projection; normals come out unit length.
    void FromViewProjection(const Matrix44& view, const Matrix44& projection);
    // False as soon as the whole box lies outside one plane, touching
    // included. Conservative: a box near a corner of the volume may pass
    // without meeting it.
    bool IsBoxVisible(const BoundingBox& box) const;
};
