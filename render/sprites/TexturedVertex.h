#pragma once
// The plainest world-space vertex: a position and a texture coordinate, 20
// bytes, for effects whose colour comes from the texture and the shader
// alone (car shadows, skid marks).

#include "engine/math/Vec3.h"
#include "engine/video/VertexElement.h"

#include <vector>

struct TexturedVertex {
    float x, y, z;
    float u, v;

    static TexturedVertex At(const Vec3& position, float u, float v)
    {
        return {position.x, position.y, position.z, u, v};
    }
};
static_assert(sizeof(TexturedVertex) == 20, "the vertex format says 20 bytes");

std::vector<VertexElement> TexturedVertexElements();
