#pragma once
// A sphere for quick overlap tests.

#include "engine/math/Vec3.h"

struct Sphere {
    Vec3 centre;
    float radius = 0.0f;

    // Touching counts as overlapping.
    static bool Overlaps(const Sphere& a, const Sphere& b)
    {
        const float reach = a.radius + b.radius;
        const Vec3 between = a.centre - b.centre;
        return reach * reach >= Vec3::Dot(between, between);
    }
};
