#pragma once
// The world-space quads the effect renderers (particles, decals) draw: each
// vertex a position, a colour and a texture coordinate. The colour is four
// floats where the device processes vertices in hardware, else one packed
// 32-bit colour, as the fixed-function pipeline reads it. Effects that take
// their colour from the texture alone (car shadows) use TexturedVertex
// instead, without a colour. Quads go into a
// vertex ring; one index buffer, written once, serves every quad the ring
// can hold: quad q is the triangles 4q + (0, 1, 2) and 4q + (1, 3, 2).

#include "engine/math/Color.h"
#include "engine/math/Vec3.h"
#include "engine/video/VertexElement.h"

#include <cstdint>
#include <memory>
#include <vector>

class IndexBuffer;
class Shader;
class ShaderVariableBlock;
class TextureResource;
class VertexFormat;
class VideoDevice;
struct VertexRing;

constexpr int32_t kEffectFloatColourStride = 36;
constexpr int32_t kEffectPackedColourStride = 24;

std::vector<VertexElement> EffectVertexElements(bool floatColour);

// Writes vertices one after another from a position in memory.
class EffectVertexWriter {
public:
    EffectVertexWriter(void* at, bool floatColour) : at_(static_cast<uint8_t*>(at)), floatColour_(floatColour) {}

    void Write(const Vec3& position, const Color& colour, float u, float v);
    // The four vertices of one quad of one colour, which is converted once.
    void WriteQuad(const Vec3 (&corners)[4], const Color& colour, const float (&texCoords)[4][2]);
    int32_t GetStride() const { return floatColour_ ? kEffectFloatColourStride : kEffectPackedColourStride; }

private:
    void WriteVertex(const Vec3& position, const void* colour, int32_t colourBytes, float u, float v);

    uint8_t* at_;
    bool floatColour_;
};

enum EffectVertexKind : int32_t {
    kColouredEffectVertex,   // written by EffectVertexWriter
    kTexturedEffectVertex,   // a TexturedVertex
};

// The ring, the index buffer and the vertex format of one effect renderer,
// with its "Tex0" and "World" variables. Without a device nothing is made
// and nothing is drawn.
class EffectQuadBuffers {
public:
    static constexpr int32_t kVerticesPerQuad = 4;
    static constexpr int32_t kIndicesPerQuad = 6;

    // quadCapacity quads fit the ring at once; the variables go into block.
    EffectQuadBuffers(VideoDevice* device, int32_t quadCapacity, ShaderVariableBlock& block,
                      EffectVertexKind kind = kColouredEffectVertex);
    ~EffectQuadBuffers();

    int32_t GetQuadCapacity() const { return quadCapacity_; }
    bool HasFloatColour() const { return floatColour_; }
    // Whether there is a ring to draw from: a device made it.
    bool HasRing() const { return ring_ != nullptr; }

    // Room for this many quads (at most the capacity) in the ring: where
    // their vertices go, or null without a device or when the lock fails.
    void* Lock(int32_t quads);
    // The quads written become the base of the following draws.
    void Unlock(int32_t quads);
    // Ring, indices and format for the draws that follow.
    void Bind();
    // Quads first to first + count - 1 of the last unlocked run, with the texture.
    void Draw(Shader* shader, int32_t passKey, TextureResource* texture, int32_t firstQuad, int32_t quadCount);

private:
    void FillIndices();
    int32_t GetStride(EffectVertexKind kind) const;
    std::vector<VertexElement> GetElements(EffectVertexKind kind) const;

    VideoDevice* device_;
    int32_t quadCapacity_;
    bool floatColour_ = false;
    ShaderVariableBlock& block_;
    int32_t textureVariable_;
    int32_t worldVariable_;
    std::unique_ptr<VertexRing> ring_;
    int32_t lockedStart_ = 0;
    std::unique_ptr<IndexBuffer> indices_;
    std::unique_ptr<VertexFormat> format_;
};
