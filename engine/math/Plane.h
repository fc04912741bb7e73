#pragma once
// A plane: a point p lies on it when normal . p = distance.

#include "engine/math/Vec3.h"

struct Plane {
    Vec3 normal;
    float distance = 0.0f;

    // The normal is taken as given, not normalised.
    static Plane FromPointNormal(const Vec3& point, const Vec3& normal)
    {
        return {normal, Vec3::Dot(point, normal)};
    }
};
