#pragma once
// The renderer's 2D drawing: textured and solid screen quads and text with
// colour codes, for the menus, the HUD, the console and the statistics
// overlay. Every draw operation is one batch of its own: it reserves room in
// two dynamic rings, writes its quads and draws them at once, so drawing
// happens in call order and nothing carries over from one operation to the
// next but the screen mapping.
//
// The drawing operations are virtual: the console and the menus live in the
// engine library, below the renderer, and reach them through the engine's
// batch without linking the renderer.

#include "engine/gui/Font.h"
#include "engine/math/Color.h"
#include "render/shaders/ShaderVariableBlock.h"
#include "render/sprites/SpriteGeometry.h"
#include "render/sprites/VertexRing.h"

#include <cstdint>
#include <memory>

class Shader;
class TextureResource;
class VertexFormat;
class VideoDevice;

// The effects sprites are drawn with, shared by every batch and loaded by
// the first one made on a device. Callers pass one to each draw.
inline Shader* SolidSpriteShader = nullptr;
inline Shader* AlphaSpriteShader = nullptr;
inline Shader* AddSpriteShader = nullptr;

// Colours of the codes "^0" to "^7" in drawn text.
extern const Color kTextColorCodes[8];

// A 2 x 2 transform of a quad's corner offsets: (dx, dy) becomes
// (dx m0 + dy m2, dx m1 + dy m3).
struct SpriteMatrix {
    float m0;
    float m1;
    float m2;
    float m3;
};

class SpriteBatch : public ShaderVariableBlock {
public:
    static constexpr int32_t kRingVertices = 65536;
    static constexpr int32_t kRingIndices = 65536;

    explicit SpriteBatch(VideoDevice& device);
    // The shared effects forget a batch that goes.
    ~SpriteBatch() override;

    // Screen units of a virtual screen of this size from now on, whatever
    // the back buffer's size; Reset returns to viewport pixels.
    void SetVirtualScreen(float width, float height);
    void ResetVirtualScreen() { virtualScreen_ = false; }

    // Images: source rectangles in texels, positions and destinations in
    // screen units.
    virtual void DrawImage(TextureResource* image, const SpriteRect& source, Vec2 position, const Color& color,
                           Shader* shader);
    virtual void DrawImageRect(TextureResource* image, const SpriteRect& source, const SpriteRect& destination,
                               const Color& color, Shader* shader);
    virtual void DrawFilledRect(const SpriteRect& rect, const Color& color, Shader* shader);
    virtual void DrawFilledRectAnchored(const SpriteRect& rect, int32_t anchorFlags, const Color& color,
                                        Shader* shader);
    // Aligned by the source rectangle's size.
    virtual void DrawImageAligned(TextureResource* image, const SpriteRect& source, int32_t alignFlags, Vec2 position,
                                  int32_t anchorFlags, const Color& color, Shader* shader);
    // A quad of the image's size centred on the position, turned and scaled
    // by the matrix; aligned by the image's size.
    virtual void DrawImageTransformed(TextureResource* image, const SpriteRect& source, int32_t alignFlags,
                                      Vec2 position, const SpriteMatrix& matrix, int32_t anchorFlags,
                                      const Color& color, Shader* shader);

    // Text from the position's pen, each glyph a batch of its own; "^0" to
    // "^7" set the colour (times the argument colour), two carets draw one,
    // and a character 0 ends the text. The shadow is a black copy at half
    // the alpha, 5 units right and 2 down, drawn first.
    virtual void DrawTextRange(const WideString& text, TextRange range, Font& font, Vec2 position, const Color& color,
                               Shader* shader, bool shadow);
    virtual void DrawText(const WideString& text, Font& font, Vec2 position, const Color& color, Shader* shader,
                          bool shadow);
    // Text is never aligned to its own size: the glyph alignment is ignored
    // (callers that centre text measure it first); the anchor applies.
    virtual void DrawTextRangeAligned(const WideString& text, TextRange range, Font& font, int32_t glyphAlignment,
                                      Vec2 position, int32_t anchorFlags, const Color& color, Shader* shader,
                                      bool shadow);
    virtual void DrawTextAligned(const WideString& text, Font& font, int32_t glyphAlignment, Vec2 position,
                                 int32_t anchorFlags, const Color& color, Shader* shader, bool shadow);

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
