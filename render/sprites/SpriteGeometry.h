#pragma once
// The arithmetic of the sprite batch: screen units to clip space, texels to
// texture coordinates, the corners and indices of a quad, and the alignment
// and anchoring of positions. Screen units start at the top-left with y
// growing downwards; one unit is a viewport pixel unless a virtual screen is set.

#include "engine/math/Vec2.h"
#include "engine/video/SpriteDrawer.h"
#include "engine/video/VertexElement.h"

#include <cstdint>
#include <vector>

struct SpriteVertex {
    float x;   // clip space
    float y;
    uint32_t color;   // D3DCOLOR
    float u;
    float v;
};
static_assert(sizeof(SpriteVertex) == 20, "the vertex format's offsets follow this layout");

// POSITION FLOAT2, COLOR D3DCOLOR, TEXCOORD0 FLOAT2.
std::vector<VertexElement> SpriteVertexElements();

Vec2 ApplyAlignFlags(int32_t flags, Vec2 position, float width, float height);
Vec2 ApplyAnchorFlags(int32_t flags, Vec2 position, float halfWidth, float halfHeight);

// Half the screen in screen units, and the bound texture's size in texels.
struct SpriteMapping {
    float halfWidth;
    float halfHeight;
    float textureWidth;
    float textureHeight;

    float ClipX(float x) const { return x / halfWidth - 1.0f; }
    float ClipY(float y) const { return 1.0f - y / halfHeight; }
    // Texel centres, so a source rectangle's edges sample whole texels.
    float U(float texelX) const { return (texelX + 0.5f) / textureWidth; }
    float V(float texelY) const { return (texelY + 0.5f) / textureHeight; }
};

struct SpriteViewport {
    float left;
    float top;
    float right;
    float bottom;
};

// Half the viewport in screen units: its pixels, or with a virtual screen
// the virtual size scaled by the viewport's share of the back buffer.
Vec2 SpriteHalfSizes(const SpriteViewport& viewport, bool virtualScreen, Vec2 virtualSize, float backBufferWidth,
                     float backBufferHeight);

// Corner 0 top-left, 1 bottom-left, 2 bottom-right, 3 top-right; texels
// taken from the rectangle's matching corners.
void WriteQuadCorners(SpriteVertex* corners, const Vec2 (&positions)[4], const SpriteRect& texels, uint32_t color,
                      const SpriteMapping& mapping);
// The corners of an axis-aligned rectangle in that order.
void WriteRectCorners(Vec2 (&positions)[4], const SpriteRect& rect);
// The six indices of quad q of a batch: 4q, 4q+2, 4q+1, 4q, 4q+3, 4q+2.
void QuadIndices(int32_t quad, uint32_t (&indices)[6]);
