#include "render/sprites/SpriteGeometry.h"

#include <d3d9.h>

std::vector<VertexElement> SpriteVertexElements()
{
    return {
        {0, 0, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
        {0, 8, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
        {0, 12, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    };
}

Vec2 ApplyAlignFlags(int32_t flags, Vec2 position, float width, float height)
{
    if (flags & kAlignMiddle) {
        position.y -= height * 0.5f;
    } else if (flags & kAlignBottom) {
        position.y -= height;
    }
    if (flags & kAlignCenter) {
        position.x -= width * 0.5f;
    } else if (flags & kAlignRight) {
        position.x -= width;
    }
    return position;
}

Vec2 ApplyAnchorFlags(int32_t flags, Vec2 position, float halfWidth, float halfHeight)
{
    if (flags & kAnchorMiddle) {
        position.y += halfHeight;
    } else if (flags & kAnchorBottom) {
        position.y += 2.0f * halfHeight;
    }
    if (flags & kAnchorCenter) {
        position.x += halfWidth;
    } else if (flags & kAnchorRight) {
        position.x += 2.0f * halfWidth;
    }
    return position;
}

Vec2 SpriteHalfSizes(const SpriteViewport& viewport, bool virtualScreen, Vec2 virtualSize, float backBufferWidth,
                     float backBufferHeight)
{
    const float width = (viewport.right - viewport.left) * 0.5f;
    const float height = (viewport.bottom - viewport.top) * 0.5f;
    if (!virtualScreen) {
        return {width, height};
    }
    return {virtualSize.x / backBufferWidth * width, virtualSize.y / backBufferHeight * height};
}

void WriteQuadCorners(SpriteVertex* corners, const Vec2 (&positions)[4], const SpriteRect& texels, uint32_t color,
                      const SpriteMapping& mapping)
{
    const Vec2 texelCorners[4] = {
        {texels.left, texels.top}, {texels.left, texels.bottom}, {texels.right, texels.bottom}, {texels.right, texels.top}};
    for (int32_t i = 0; i < 4; ++i) {
        corners[i] = {mapping.ClipX(positions[i].x), mapping.ClipY(positions[i].y), color,
                      mapping.U(texelCorners[i].x), mapping.V(texelCorners[i].y)};
    }
}

void WriteRectCorners(Vec2 (&positions)[4], const SpriteRect& rect)
{
    positions[0] = {rect.left, rect.top};
    positions[1] = {rect.left, rect.bottom};
    positions[2] = {rect.right, rect.bottom};
    positions[3] = {rect.right, rect.top};
}

void QuadIndices(int32_t quad, uint32_t (&indices)[6])
{
    const auto first = static_cast<uint32_t>(4 * quad);
    const uint32_t pattern[6] = {0, 2, 1, 0, 3, 2};
    for (int32_t i = 0; i < 6; ++i) {
        indices[i] = first + pattern[i];
    }
}
