#pragma once
// One kind of decal: the texture and shader its quads are drawn with, and
// the quads of this frame that use them, as positions in the frame's quad
// list. The code that defines the kind owns its batch and registers it with
// the decal renderer once; the list keeps its storage between frames.

#include <cstdint>
#include <vector>

class ShaderEffect;
class TextureResource;

class DecalBatch {
public:
    TextureResource* texture = nullptr;   // not owned
    ShaderEffect* shader = nullptr;       // not owned
    std::vector<int32_t> quads;           // into the frame's quad list
};
