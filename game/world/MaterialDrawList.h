#pragma once
// The world's props queued for drawing this frame, one list per material:
// visible objects add a draw item per range of their mesh, the world
// renderer packs the moving ones into its rings and draws every list pass
// by pass.

#include <cstdint>
#include <vector>

class ShaderEffect;
class dcWorldObject;

struct MaterialDrawItem {
    dcWorldObject* object = nullptr;
    int32_t range = 0;   // index of the MeshDrawRange in the object's mesh
    float weight = 1.0f;
};

struct MaterialDrawList {
    ShaderEffect* effect = nullptr;   // the material's
    std::vector<MaterialDrawItem> items;
    // Where this frame's streaming items lie in the renderer's rings.
    int32_t packedIndexStart = 0;
    int32_t packedIndexCount = 0;
    int32_t packedVertexStart = 0;
    int32_t packedVertexCount = 0;
};

// The table of the world loaded last, one entry per material.
std::vector<MaterialDrawList>& MaterialDrawLists();
