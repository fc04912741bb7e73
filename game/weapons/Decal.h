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

    // Queues the decal to be drawn once, by the next decal pass, through the
    // game's decal ring; false when it was dropped (no batch, or the frame full).
    bool Submit() const;
    // The middle of its corners.
    Vec3 Centre() const;
};

// The frame's copy of a submitted decal.
struct DecalQuad {
    std::array<Vec3, 4> corners;
    std::array<DecalTexCoord, 4> texCoords;
    Color colour;
};
