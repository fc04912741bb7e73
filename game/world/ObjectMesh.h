#pragma once
// The drawable meshes of the world's props, as the world file describes
// them: ranges of the world's geometry records (or of its streaming
// geometry) drawn with one material each, and a box around them.

#include "engine/math/BoundingBox.h"

#include <cstdint>
#include <memory>
#include <vector>

class ShaderEffect;
class VertexBuffer;
class VertexFormat;

constexpr int32_t kStreamingGeometry = -1;   // a range's geometry index: the streaming data

struct MeshDrawRange {
    MeshDrawRange();
    ~MeshDrawRange();
    MeshDrawRange(MeshDrawRange&&) noexcept;
    MeshDrawRange& operator=(MeshDrawRange&&) noexcept;

    int32_t firstIndex = 0;
    int32_t indexCount = 0;
    int32_t firstVertex = 0;
    int32_t vertexCount = 0;
    int32_t material = -1;                 // -1: none
    int32_t geometry = kStreamingGeometry;
    ShaderEffect* effect = nullptr;        // the material's; none without one
    // Falling-leaf ranges only: their own triangles, one vertex per index.
    std::unique_ptr<VertexFormat> leafFormat;
    std::unique_ptr<VertexBuffer> leafBuffer;
};

struct ObjectMesh {
    std::vector<MeshDrawRange> ranges;
    BoundingBox box;
    float halfExtentsLengthSquared = 0.0f;
    int32_t worldSpace = 0;   // 1: the streaming vertices are already in world coordinates
    int32_t sizeClass = 0;    // 0 to 3, 0 the largest
};
