#include "render/sprites/EffectQuads.h"

#include "engine/math/Matrix44.h"
#include "engine/video/TextureResource.h"
#include "engine/video/VideoDevice.h"
#include "render/device/IndexBuffer.h"
#include "render/device/PackedColor.h"
#include "render/device/VertexBuffer.h"
#include "render/device/VertexFormat.h"
#include "render/shaders/ShaderVariableBlock.h"
#include "render/sprites/TexturedVertex.h"
#include "render/sprites/VertexRing.h"

#include <d3d9.h>

#include <algorithm>
#include <cstring>

std::vector<VertexElement> EffectVertexElements(bool floatColour)
{
    const uint16_t texCoordOffset = floatColour ? 28 : 16;
    return {
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
        {0, 12, static_cast<uint8_t>(floatColour ? D3DDECLTYPE_FLOAT4 : D3DDECLTYPE_D3DCOLOR), D3DDECLMETHOD_DEFAULT,
         D3DDECLUSAGE_COLOR, 0},
        {0, texCoordOffset, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    };
}

void EffectVertexWriter::Write(const Vec3& position, const Color& colour, float u, float v)
{
    if (floatColour_) {
        const float rgba[4] = {colour.r, colour.g, colour.b, colour.a};
        WriteVertex(position, rgba, sizeof rgba, u, v);
    } else {
        const uint32_t packed = PackColor(colour);
        WriteVertex(position, &packed, sizeof packed, u, v);
    }
}

void EffectVertexWriter::WriteQuad(const Vec3 (&corners)[4], const Color& colour, const float (&texCoords)[4][2])
{
    const float rgba[4] = {colour.r, colour.g, colour.b, colour.a};
    const uint32_t packed = floatColour_ ? 0 : PackColor(colour);
    const void* colourBytes = floatColour_ ? static_cast<const void*>(rgba) : &packed;
    const int32_t colourSize = floatColour_ ? sizeof rgba : sizeof packed;
    for (int32_t i = 0; i < 4; ++i) {
        WriteVertex(corners[i], colourBytes, colourSize, texCoords[i][0], texCoords[i][1]);
    }
}

void EffectVertexWriter::WriteVertex(const Vec3& position, const void* colour, int32_t colourBytes, float u, float v)
{
    const float xyz[3] = {position.x, position.y, position.z};
    std::memcpy(at_, xyz, sizeof xyz);
    uint8_t* next = at_ + sizeof xyz;
    std::memcpy(next, colour, static_cast<size_t>(colourBytes));
    next += colourBytes;
    const float uv[2] = {u, v};
    std::memcpy(next, uv, sizeof uv);
    at_ = next + sizeof uv;
}

EffectQuadBuffers::EffectQuadBuffers(VideoDevice* device, int32_t quadCapacity, ShaderVariableBlock& block,
                                     EffectVertexKind kind)
    : device_(device)
    , quadCapacity_(quadCapacity)
    , block_(block)
    , textureVariable_(block.AddVariable(L"Tex0", kShaderTexture, false))
    , worldVariable_(block.AddVariable(L"World", kShaderMatrix, false))
{
    if (!device_) {
        return;
    }
    floatColour_ = kind == kColouredEffectVertex && device_->HasCapability(kCapabilityHardwareVertexShaders);
    const int32_t vertices = kVerticesPerQuad * quadCapacity_;
    ring_ = std::make_unique<VertexRing>(CreateVertexRing(*device_, GetStride(kind), vertices, true));
    indices_ = device_->CreateIndexBuffer(kIndicesPerQuad * quadCapacity_, vertices, false, true);
    format_ = device_->CreateVertexFormat(GetElements(kind));
    FillIndices();
}

EffectQuadBuffers::~EffectQuadBuffers() = default;

int32_t EffectQuadBuffers::GetStride(EffectVertexKind kind) const
{
    if (kind == kTexturedEffectVertex) {
        return static_cast<int32_t>(sizeof(TexturedVertex));
    }
    return floatColour_ ? kEffectFloatColourStride : kEffectPackedColourStride;
}

std::vector<VertexElement> EffectQuadBuffers::GetElements(EffectVertexKind kind) const
{
    return kind == kTexturedEffectVertex ? TexturedVertexElements() : EffectVertexElements(floatColour_);
}

void EffectQuadBuffers::FillIndices()
{
    if (!indices_ || !indices_->Lock({0, kIndicesPerQuad * quadCapacity_}, 0)) {
        return;
    }
    for (int32_t quad = 0; quad < quadCapacity_; ++quad) {
        const uint32_t first = static_cast<uint32_t>(kVerticesPerQuad * quad);
        const uint32_t corners[kIndicesPerQuad] = {first, first + 1, first + 2, first + 1, first + 3, first + 2};
        for (int32_t i = 0; i < kIndicesPerQuad; ++i) {
            *indices_->ElementPointer(kIndicesPerQuad * quad + i) = corners[i];
        }
    }
    indices_->Unlock();
}

void* EffectQuadBuffers::Lock(int32_t quads)
{
    if (!ring_ || !ring_->buffer || quads <= 0) {
        return nullptr;
    }
    const int32_t vertices = kVerticesPerQuad * std::min(quads, quadCapacity_);
    const RingReservation place = ReserveRing(ring_->position, vertices, ring_->buffer->GetCount());
    lockedStart_ = place.start;
    return ring_->buffer->Lock({place.start, vertices}, place.lockFlags);
}

void EffectQuadBuffers::Unlock(int32_t quads)
{
    if (!ring_ || !ring_->buffer) {
        return;
    }
    ring_->buffer->Unlock();
    ring_->buffer->SetRingPosition(lockedStart_);
    ring_->position = lockedStart_ + kVerticesPerQuad * std::min(quads, quadCapacity_);
}

void EffectQuadBuffers::Bind()
{
    if (!device_) {
        return;
    }
    device_->SetVertexStream(0, ring_ ? ring_->buffer.get() : nullptr);
    device_->SetIndexBuffer(indices_.get());
    device_->SetVertexFormat(format_.get());
}

void EffectQuadBuffers::Draw(Shader* shader, int32_t passKey, TextureResource* texture, int32_t firstQuad,
                             int32_t quadCount)
{
    if (!device_ || quadCount <= 0) {
        return;
    }
    block_.SetTexture(textureVariable_, texture);
    // The quads are written in world space.
    block_.SetMatrix(worldVariable_, &kIdentityMatrix.m[0][0]);
    device_->SetShader(shader, passKey, 0);
    device_->DrawIndexed({kIndicesPerQuad * firstQuad, kIndicesPerQuad * quadCount},
                         {kVerticesPerQuad * firstQuad, kVerticesPerQuad * quadCount}, kTriangleList);
}
