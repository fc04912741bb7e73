#pragma once
// The vertices of skinned meshes: each bound to one bone and carried by that
// bone's skinning matrix on the processor every time the model is drawn.

#include "engine/math/Matrix44.h"
#include "engine/math/Vec3.h"

#include <cstdint>

// In memory; the file stores the bone index as a float between position and normal.
struct SkinVertex {
    Vec3 position;
    Vec3 normal;
    int32_t bone = 0;
    float u = 0.0f;
    float v = 0.0f;
};
static_assert(sizeof(SkinVertex) == 36);

// What skinning writes, and the one vertex layout of every skinned geometry:
// position, normal and texture coordinates in stream 0.
struct SkinnedOutputVertex {
    Vec3 position;
    Vec3 normal;
    float u;
    float v;
};
static_assert(sizeof(SkinnedOutputVertex) == 32);

// Each vertex by its bone's matrix: the position as a point, the normal
// through the rotation rows. A vertex whose bone lies beyond the matrices
// given follows the first, so a model drawn with one matrix keeps its bind
// pose. matrixCount is at least 1.
void SkinVertices(const SkinVertex* source, int32_t count, const Matrix44* matrices, int32_t matrixCount,
                  SkinnedOutputVertex* out);
