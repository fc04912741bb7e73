#pragma once
// A textured quad laid on a surface: a bullet hole, a blood splat, a glow.

#include "engine/math/Color.h"
#include "engine/math/Vec3.h"

#include <array>

class DecalBatch;

struct DecalTexCoord {
    float u;
    float v;
};

struct Decal {
    DecalBatch* batch = nullptr;   // the kind it is drawn with; not owned
    std::array<Vec3, 4> corners{};   // world positions, in vertex order
    std::array<DecalTexCoord, 4> texCoords{};
    Color colour{1.0f, 1.0f, 1.0f, 1.0f};
};
