#pragma once
// The renderer's 2D drawing: textured and solid screen quads and text with
// colour codes, for the menus, the HUD, the console and the statistics
// overlay. Every draw operation is one batch of its own: it reserves room in
// two dynamic rings, writes its quads and draws them at once, so drawing
// happens in call order and nothing carries over from one operation to the
// next but the screen mapping.
//
// It is the engine's sprite drawing (SpriteDrawer): the console and the
// menus, below the renderer, draw through that interface.

#include "engine/gui/Font.h"
#include "engine/math/Color.h"
#include "engine/video/SpriteDrawer.h"
#include "render/shaders/ShaderVariableBlock.h"
#include "render/sprites/SpriteGeometry.h"
#include "render/sprites/VertexRing.h"

#include <cstdint>
#include <memory>

class Shader;
class TextureResource;
class VertexFormat;
class VideoDevice;

// Colours of the codes "^0" to "^7" in drawn text.
extern const Color kTextColorCodes[8];

class SpriteBatch : public ShaderVariableBlock, public SpriteDrawer {
public:
    static constexpr int32_t kRingVertices = 65536;
    static constexpr int32_t kRingIndices = 65536;

    explicit SpriteBatch(VideoDevice& device);
    // The shared effects forget a batch that goes; the last one destroys them.
    ~SpriteBatch() override;

    void SetVirtualScreen(float width, float height) override;
    void ResetVirtualScreen() override { virtualScreen_ = false; }

    // The drawing operations, each one batch of its own.
    void DrawImage(TextureResource* image, const SpriteRect& source, Vec2 position, const Color& color,
                   Shader* shader) override;
    void DrawImageRect(TextureResource* image, const SpriteRect& source, const SpriteRect& destination,
                       const Color& color, Shader* shader) override;
    void DrawFilledRect(const SpriteRect& rect, const Color& color, Shader* shader) override;
    void DrawFilledRectAnchored(const SpriteRect& rect, int32_t anchorFlags, const Color& color,
                                Shader* shader) override;
    void DrawImageAligned(TextureResource* image, const SpriteRect& source, int32_t alignFlags, Vec2 position,
                          int32_t anchorFlags, const Color& color, Shader* shader) override;
    void DrawImageTransformed(TextureResource* image, const SpriteRect& source, int32_t alignFlags, Vec2 position,
                              const SpriteMatrix& matrix, int32_t anchorFlags, const Color& color,
                              Shader* shader) override;
    void DrawTextRange(const WideString& text, TextRange range, Font& font, Vec2 position, const Color& color,
                       Shader* shader, bool shadow) override;
    void DrawText(const WideString& text, Font& font, Vec2 position, const Color& color, Shader* shader,
                  bool shadow) override;
    void DrawTextRangeAligned(const WideString& text, TextRange range, Font& font, int32_t glyphAlignment,
                              Vec2 position, int32_t anchorFlags, const Color& color, Shader* shader,
                              bool shadow) override;
    void DrawTextAligned(const WideString& text, Font& font, int32_t glyphAlignment, Vec2 position,
                         int32_t anchorFlags, const Color& color, Shader* shader, bool shadow) override;

    // One batch: Begin with the quad count, the adds, Flush with the same count.
    void Begin(int32_t quads, TextureResource* image, Shader* shader);
    void AddQuad(const SpriteRect& source, Vec2 position, const Color& color);
    void AddQuadRect(const SpriteRect& source, const SpriteRect& destination, const Color& color);
    void AddSolidQuad(const SpriteRect& rect, const Color& color);
    void AddQuadAligned(const SpriteRect& source, int32_t alignFlags, Vec2 position, int32_t anchorFlags,
                        const Color& color);
    void AddTransformedQuad(const SpriteRect& source, Vec2 position, const SpriteMatrix& matrix, const Color& color);
    void Flush(int32_t quads);

    // The rings' buffers; each buffer's ring position is where the last batch starts.
    VertexBuffer* GetVertexBuffer() const { return vertexRing_.buffer.get(); }
    IndexBuffer* GetIndexBuffer() const { return indexRing_.buffer.get(); }

private:
    void LoadSharedEffects();
    void AddCorners(const Vec2 (&positions)[4], const SpriteRect& texels, const Color& color);
    void DrawGlyph(Font& font, wchar_t c, Vec2& pen, int32_t anchorFlags, const Color& color, Shader* shader,
                   bool shadow);

    VideoDevice& device_;
    VertexRing vertexRing_;
    IndexRing indexRing_;
    std::unique_ptr<VertexFormat> format_;
    float world_[16];
    bool indicesLocked_ = false;
    SpriteVertex* vertexWrite_ = nullptr;   // null when the open batch could not be locked
    int32_t quadCount_ = 0;
    TextureResource* texture_ = nullptr;
    Shader* shader_ = nullptr;
    SpriteMapping mapping_{1.0f, 1.0f, 1.0f, 1.0f};
    int32_t worldId_;
    int32_t textureId_;
    std::unique_ptr<TextureResource> whiteTexture_;
    Vec2 virtualSize_;
    bool virtualScreen_ = false;
};
