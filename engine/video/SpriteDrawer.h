#pragma once
// The 2D drawing the console, the menus, the statistics overlay and the
// screens above them draw through: textured and solid screen quads and text
// with colour codes. The renderer's SpriteBatch implements it; the engine
// keeps the one batch and hands it out.

#include "engine/files/WideString.h"
#include "engine/math/Color.h"
#include "engine/math/Vec2.h"
#include "engine/video/TextureResource.h"

// Windows' headers make DrawText a macro; every user of the interface must
// see the same expansion, or the renderer's overrides would not match.
#include <windows.h>

#include <cstdint>

class Font;
class Shader;
struct TextRange;

// The effects sprites are drawn with, shared by every batch and loaded by
// the first one made on a device. Callers pass one to each draw.
inline Shader* SolidSpriteShader = nullptr;
inline Shader* AlphaSpriteShader = nullptr;
inline Shader* AddSpriteShader = nullptr;

struct SpriteRect {
    float left;
    float top;
    float right;
    float bottom;
};

// The whole picture of a texture, in texels.
inline SpriteRect WholeImage(const TextureResource& image)
{
    return {0.0f, 0.0f, image.GetImageWidth(), image.GetImageHeight()};
}

// Offsets by the drawn size (images only); of each pair the first bit wins.
enum AlignFlags : int32_t {
    kAlignMiddle = 0x2,    // y minus half the height
    kAlignBottom = 0x4,    // y minus the height
    kAlignCenter = 0x10,   // x minus half the width
    kAlignRight = 0x20,    // x minus the width
};

// Offsets by the screen size (every positioned operation); of each pair the
// first bit wins. Callers pass kAnchorNone (9) for neither.
enum AnchorFlags : int32_t {
    kAnchorNone = 0x9,
    kAnchorMiddle = 0x2,   // y plus half the screen height
    kAnchorBottom = 0x4,   // y plus the screen height
    kAnchorCenter = 0x10,  // x plus half the screen width
    kAnchorRight = 0x20,   // x plus the screen width
};

// A 2 x 2 transform of a quad's corner offsets: (dx, dy) becomes
// (dx m0 + dy m2, dx m1 + dy m3).
struct SpriteMatrix {
    float m0;
    float m1;
    float m2;
    float m3;
};

class SpriteDrawer {
public:
    virtual ~SpriteDrawer() = default;

    // Screen units of a virtual screen of this size from now on, whatever
    // the back buffer's size; Reset returns to viewport pixels.
    virtual void SetVirtualScreen(float width, float height) = 0;
    virtual void ResetVirtualScreen() = 0;

    // Images: source rectangles in texels, positions and destinations in
    // screen units.
    virtual void DrawImage(TextureResource* image, const SpriteRect& source, Vec2 position, const Color& color,
                           Shader* shader) = 0;
    virtual void DrawImageRect(TextureResource* image, const SpriteRect& source, const SpriteRect& destination,
                               const Color& color, Shader* shader) = 0;
    virtual void DrawFilledRect(const SpriteRect& rect, const Color& color, Shader* shader) = 0;
    virtual void DrawFilledRectAnchored(const SpriteRect& rect, int32_t anchorFlags, const Color& color,
                                        Shader* shader) = 0;
    // Aligned by the source rectangle's size.
    virtual void DrawImageAligned(TextureResource* image, const SpriteRect& source, int32_t alignFlags, Vec2 position,
                                  int32_t anchorFlags, const Color& color, Shader* shader) = 0;
    // A quad of the image's size centred on the position, turned and scaled
    // by the matrix; aligned by the image's size.
    virtual void DrawImageTransformed(TextureResource* image, const SpriteRect& source, int32_t alignFlags,
                                      Vec2 position, const SpriteMatrix& matrix, int32_t anchorFlags,
                                      const Color& color, Shader* shader) = 0;

    // Text from the position's pen, each glyph a batch of its own; "^0" to
    // "^7" set the colour (times the argument colour), two carets draw one,
    // and a character 0 ends the text. The shadow is a black copy at half
    // the alpha, 5 units right and 2 down, drawn first.
    virtual void DrawTextRange(const WideString& text, TextRange range, Font& font, Vec2 position, const Color& color,
                               Shader* shader, bool shadow) = 0;
    virtual void DrawText(const WideString& text, Font& font, Vec2 position, const Color& color, Shader* shader,
                          bool shadow) = 0;
    // Text is never aligned to its own size: the glyph alignment is ignored
    // (callers that centre text measure it first); the anchor applies.
    virtual void DrawTextRangeAligned(const WideString& text, TextRange range, Font& font, int32_t glyphAlignment,
                                      Vec2 position, int32_t anchorFlags, const Color& color, Shader* shader,
                                      bool shadow) = 0;
    virtual void DrawTextAligned(const WideString& text, Font& font, int32_t glyphAlignment, Vec2 position,
                                 int32_t anchorFlags, const Color& color, Shader* shader, bool shadow) = 0;
};
