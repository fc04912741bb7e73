#include "render/sprites/SpriteBatch.h"

#include "engine/video/TextureResource.h"
#include "engine/video/VideoDevice.h"
#include "render/device/PackedColor.h"
#include "render/device/VertexFormat.h"
#include "render/shaders/ShaderEffect.h"

#include <algorithm>
#include <cmath>

const Color kTextColorCodes[8] = {
    {0.0f, 0.0f, 0.0f, 1.0f}, {1.0f, 0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f, 1.0f}, {1.0f, 1.0f, 0.0f, 1.0f},
    {0.0f, 0.0f, 1.0f, 1.0f}, {0.0f, 1.0f, 1.0f, 1.0f}, {1.0f, 0.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f},
};

namespace {

constexpr int32_t kVerticesPerQuad = 4;
constexpr int32_t kIndicesPerQuad = 6;
constexpr int32_t kWhiteTexelBytes = 3;
constexpr wchar_t kColourCode = L'^';
constexpr Vec2 kShadowOffset{5.0f, 2.0f};
constexpr float kShadowAlpha = 0.5f;

struct SharedEffect {
    const wchar_t* file;
    Shader** slot;
};

const SharedEffect kSharedEffects[] = {
    {L"dcSprite_Solid.DCS", &SolidSpriteShader},
    {L"dcSprite_Alpha.DCS", &AlphaSpriteShader},
    {L"dcSprite_Add.DCS", &AddSpriteShader},
};
constexpr size_t kSharedEffectCount = sizeof kSharedEffects / sizeof kSharedEffects[0];

// The effects of one device, shared by its batches: the game has one; tests
// make several, one after another. They go with the device's last batch:
// their programs hold the Direct3D device, which must be destroyed with the
// renderer, before the program exits.
struct SpriteEffects {
    const VideoDevice* device = nullptr;
    int32_t batches = 0;
    std::unique_ptr<ShaderEffect> effects[kSharedEffectCount];
};

SpriteEffects& SharedSpriteEffects()
{
    static auto* shared = new SpriteEffects;
    return *shared;
}

void ReleaseSharedEffects(SpriteEffects& shared)
{
    for (size_t i = 0; i < kSharedEffectCount; ++i) {
        *kSharedEffects[i].slot = nullptr;
        shared.effects[i].reset();
    }
    shared.device = nullptr;
}

Vec2 Offset(Vec2 point, Vec2 by)
{
    return {point.x + by.x, point.y + by.y};
}

} // namespace

SpriteBatch::SpriteBatch(VideoDevice& device)
    : device_(device)
    , vertexRing_(CreateVertexRing(device, sizeof(SpriteVertex), kRingVertices, true))
    , indexRing_(CreateIndexRing(device, kRingIndices, kRingVertices, true))
    , format_(device.CreateVertexFormat(SpriteVertexElements()))
    , world_{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}
{
    LoadSharedEffects();
    worldId_ = AddVariable(L"World", kShaderMatrix, false);
    textureId_ = AddVariable(L"Tex0", kShaderMatrix, false);

    whiteTexture_ = device.CreateTexture({kTextureRgb24, kTextureKind2D, 1, 1, 1, 1, 1, false, false, false});
    if (whiteTexture_) {
        const uint8_t white[kWhiteTexelBytes] = {255, 255, 255};
        whiteTexture_->Upload({0, 0, 1, 1}, 0, {white, kWhiteTexelBytes}, kTextureRgb24);
    }
}

SpriteBatch::~SpriteBatch()
{
    SpriteEffects& shared = SharedSpriteEffects();
    if (--shared.batches == 0) {
        ReleaseSharedEffects(shared);
        return;
    }
    for (std::unique_ptr<ShaderEffect>& effect : shared.effects) {
        if (effect && effect->GetParent() == this) {
            effect->SetParent(nullptr);
        }
    }
}

// A later batch on the same device becomes the parent of the loaded effects,
// so they read its "World" and "Tex0".
void SpriteBatch::LoadSharedEffects()
{
    SpriteEffects& shared = SharedSpriteEffects();
    ++shared.batches;
    if (shared.device != &device_) {
        shared.device = &device_;
        for (size_t i = 0; i < kSharedEffectCount; ++i) {
            shared.effects[i] = device_.LoadShader(kSharedEffects[i].file);
            *kSharedEffects[i].slot = shared.effects[i].get();
        }
    }
    for (std::unique_ptr<ShaderEffect>& effect : shared.effects) {
        if (effect) {
            effect->SetParent(this);
        }
    }
}

void SpriteBatch::SetVirtualScreen(float width, float height)
{
    virtualSize_ = {width, height};
    virtualScreen_ = true;
}

void SpriteBatch::Begin(int32_t quads, TextureResource* image, Shader* shader)
{
    texture_ = image ? image->GetCurrent() : nullptr;
    shader_ = shader;
    mapping_.textureWidth = texture_ ? texture_->GetWidth() : 1.0f;
    mapping_.textureHeight = texture_ ? texture_->GetHeight() : 1.0f;
    const ViewportRect& viewport = device_.GetViewport();
    const Vec2 half = SpriteHalfSizes({viewport.left, viewport.top, viewport.right, viewport.bottom}, virtualScreen_,
                                      virtualSize_, static_cast<float>(device_.GetBackBufferWidth()),
                                      static_cast<float>(device_.GetBackBufferHeight()));
    mapping_.halfWidth = half.x;
    mapping_.halfHeight = half.y;

    quadCount_ = 0;
    indicesLocked_ = false;
    vertexWrite_ = nullptr;
    if (!indexRing_.buffer || !vertexRing_.buffer) {
        return;
    }
    const RingReservation indices = ReserveRing(indexRing_.position, kIndicesPerQuad * quads, kRingIndices);
    indexRing_.position = indices.start;
    indicesLocked_ =
        indexRing_.buffer->Lock({indices.start, kIndicesPerQuad * quads}, indices.lockFlags) != nullptr;
    const RingReservation vertices = ReserveRing(vertexRing_.position, kVerticesPerQuad * quads, kRingVertices);
    vertexRing_.position = vertices.start;
    vertexWrite_ = static_cast<SpriteVertex*>(
        vertexRing_.buffer->Lock({vertices.start, kVerticesPerQuad * quads}, vertices.lockFlags));
}

void SpriteBatch::AddCorners(const Vec2 (&positions)[4], const SpriteRect& texels, const Color& color)
{
    if (indicesLocked_ && vertexWrite_) {
        uint32_t indices[kIndicesPerQuad];
        QuadIndices(quadCount_, indices);
        for (int32_t i = 0; i < kIndicesPerQuad; ++i) {
            *indexRing_.buffer->ElementPointer(kIndicesPerQuad * quadCount_ + i) = indices[i];
        }
        WriteQuadCorners(vertexWrite_ + kVerticesPerQuad * quadCount_, positions, texels, PackColor(color), mapping_);
    }
    ++quadCount_;
}

void SpriteBatch::AddQuad(const SpriteRect& source, Vec2 position, const Color& color)
{
    const float width = source.right - source.left;
    const float height = source.bottom - source.top;
    AddQuadRect(source, {position.x, position.y, position.x + width, position.y + height}, color);
}

void SpriteBatch::AddQuadRect(const SpriteRect& source, const SpriteRect& destination, const Color& color)
{
    Vec2 corners[4];
    WriteRectCorners(corners, destination);
    AddCorners(corners, source, color);
}

void SpriteBatch::AddSolidQuad(const SpriteRect& rect, const Color& color)
{
    // Any texture coordinate samples the one white texel.
    AddQuadRect({0.0f, 0.0f, 0.0f, 0.0f}, rect, color);
}

void SpriteBatch::AddQuadAligned(const SpriteRect& source, int32_t alignFlags, Vec2 position, int32_t anchorFlags,
                                 const Color& color)
{
    position = ApplyAlignFlags(alignFlags, position, source.right - source.left, source.bottom - source.top);
    AddQuad(source, ApplyAnchorFlags(anchorFlags, position, mapping_.halfWidth, mapping_.halfHeight), color);
}

void SpriteBatch::AddTransformedQuad(const SpriteRect& source, Vec2 position, const SpriteMatrix& matrix,
                                     const Color& color)
{
    const float halfWidth = texture_ ? texture_->GetImageWidth() * 0.5f : 0.0f;
    const float halfHeight = texture_ ? texture_->GetImageHeight() * 0.5f : 0.0f;
    const Vec2 offsets[4] = {
        {-halfWidth, -halfHeight}, {-halfWidth, halfHeight}, {halfWidth, halfHeight}, {halfWidth, -halfHeight}};
    Vec2 corners[4];
    for (int32_t i = 0; i < 4; ++i) {
        const Vec2 d = offsets[i];
        corners[i] = {position.x + d.x * matrix.m0 + d.y * matrix.m2, position.y + d.x * matrix.m1 + d.y * matrix.m3};
    }
    AddCorners(corners, source, color);
}

void SpriteBatch::Flush(int32_t quads)
{
    if (!indicesLocked_ || !vertexWrite_) {
        return;
    }
    indexRing_.buffer->Unlock();
    indexRing_.buffer->SetRingPosition(indexRing_.position);
    indexRing_.position += kIndicesPerQuad * quads;
    vertexRing_.buffer->Unlock();
    vertexRing_.buffer->SetRingPosition(vertexRing_.position);
    vertexRing_.position += kVerticesPerQuad * quads;
    indicesLocked_ = false;
    vertexWrite_ = nullptr;

    SetTexture(textureId_, texture_);
    SetMatrix(worldId_, world_);
    device_.SetVertexStream(0, vertexRing_.buffer.get());
    device_.SetIndexBuffer(indexRing_.buffer.get());
    device_.SetVertexFormat(format_.get());
    device_.SetShader(shader_, 0, 0);
    device_.DrawIndexed({0, kIndicesPerQuad * quads}, {0, kVerticesPerQuad * quads}, kTriangleList);
}

void SpriteBatch::DrawImage(TextureResource* image, const SpriteRect& source, Vec2 position, const Color& color,
                            Shader* shader)
{
    Begin(1, image, shader);
    AddQuad(source, position, color);
    Flush(1);
}

void SpriteBatch::DrawImageRect(TextureResource* image, const SpriteRect& source, const SpriteRect& destination,
                                const Color& color, Shader* shader)
{
    Begin(1, image, shader);
    AddQuadRect(source, destination, color);
    Flush(1);
}

void SpriteBatch::DrawFilledRect(const SpriteRect& rect, const Color& color, Shader* shader)
{
    Begin(1, whiteTexture_.get(), shader);
    AddSolidQuad(rect, color);
    Flush(1);
}

void SpriteBatch::DrawFilledRectAnchored(const SpriteRect& rect, int32_t anchorFlags, const Color& color,
                                         Shader* shader)
{
    Begin(1, whiteTexture_.get(), shader);
    const Vec2 topLeft = ApplyAnchorFlags(anchorFlags, {rect.left, rect.top}, mapping_.halfWidth, mapping_.halfHeight);
    const Vec2 bottomRight =
        ApplyAnchorFlags(anchorFlags, {rect.right, rect.bottom}, mapping_.halfWidth, mapping_.halfHeight);
    AddSolidQuad({topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}, color);
    Flush(1);
}

void SpriteBatch::DrawImageAligned(TextureResource* image, const SpriteRect& source, int32_t alignFlags,
                                   Vec2 position, int32_t anchorFlags, const Color& color, Shader* shader)
{
    Begin(1, image, shader);
    AddQuadAligned(source, alignFlags, position, anchorFlags, color);
    Flush(1);
}

void SpriteBatch::DrawImageTransformed(TextureResource* image, const SpriteRect& source, int32_t alignFlags,
                                       Vec2 position, const SpriteMatrix& matrix, int32_t anchorFlags,
                                       const Color& color, Shader* shader)
{
    Begin(1, image, shader);
    if (image) {
        position = ApplyAlignFlags(alignFlags, position, image->GetImageWidth(), image->GetImageHeight());
    }
    position = ApplyAnchorFlags(anchorFlags, position, mapping_.halfWidth, mapping_.halfHeight);
    AddTransformedQuad(source, position, matrix, color);
    Flush(1);
}

void SpriteBatch::DrawTextRange(const WideString& text, TextRange range, Font& font, Vec2 position,
                                const Color& color, Shader* shader, bool shadow)
{
    DrawTextRangeAligned(text, range, font, kAnchorNone, position, kAnchorNone, color, shader, shadow);
}

void SpriteBatch::DrawText(const WideString& text, Font& font, Vec2 position, const Color& color, Shader* shader,
                           bool shadow)
{
    DrawTextRange(text, {0, static_cast<int32_t>(text.size())}, font, position, color, shader, shadow);
}

void SpriteBatch::DrawTextAligned(const WideString& text, Font& font, int32_t glyphAlignment, Vec2 position,
                                  int32_t anchorFlags, const Color& color, Shader* shader, bool shadow)
{
    DrawTextRangeAligned(text, {0, static_cast<int32_t>(text.size())}, font, glyphAlignment, position, anchorFlags,
                         color, shader, shadow);
}

void SpriteBatch::DrawTextRangeAligned(const WideString& text, TextRange range, Font& font, int32_t, Vec2 position,
                                       int32_t anchorFlags, const Color& color, Shader* shader, bool shadow)
{
    // The range is clipped to the text: the text's end is where drawing stops too.
    const int32_t end = std::min(range.first + range.count, static_cast<int32_t>(text.size()));
    Color running = kOpaqueWhite;
    Vec2 pen{position.x - font.GetOriginX(), position.y - font.GetOriginY()};
    for (int32_t i = std::max(range.first, 0); i < end; ++i) {
        wchar_t c = text[i];
        if (c == 0) {
            return;
        }
        if (c == kColourCode && i + 1 < end) {
            c = text[++i];
            if (c >= L'0' && c <= L'7') {
                running = kTextColorCodes[c - L'0'];
            }
            if (c != kColourCode) {
                continue;
            }
        }
        DrawGlyph(font, c, pen, anchorFlags, MultiplyComponents(running, color), shader, shadow);
    }
}

void SpriteBatch::DrawGlyph(Font& font, wchar_t c, Vec2& pen, int32_t anchorFlags, const Color& color, Shader* shader,
                            bool shadow)
{
    const GlyphInfo& glyph = font.GetGlyph(c);
    const SpriteRect cell{std::trunc(glyph.left), std::trunc(glyph.top), std::trunc(glyph.right),
                          std::trunc(glyph.bottom)};
    if (glyph.page && glyph.page->texture) {
        const int32_t quads = shadow ? 2 : 1;
        Begin(quads, glyph.page->texture.get(), shader);
        if (shadow) {
            AddQuadAligned(cell, 0, Offset(pen, kShadowOffset), anchorFlags,
                           {0.0f, 0.0f, 0.0f, color.a * kShadowAlpha});
        }
        AddQuadAligned(cell, 0, pen, anchorFlags, color);
        Flush(quads);
    }
    pen.x += glyph.advance;
}
