#pragma once
// Glyph pages drawn with GDI: the characters of a list are laid out in rows
// on one 2048-pixel-wide bitmap, drawn white on black with antialiasing, and
// turned into texels of the fill colour whose alpha is the grey level GDI
// drew; optionally softened and outlined. A list that does not fit one
// bitmap continues on further pages.

#include "engine/gui/Font.h"
#include "engine/math/Color.h"

#include <cstdint>
#include <vector>

// How a font's glyphs look.
struct GlyphStyle {
    WideString face;
    int32_t size;          // points
    bool bold;
    float softening;       // 0: none
    float outlineWidth;    // pixels; 0: no outline
    Color fill;
    Color outline;
};

// One page before it becomes a texture: A8R8G8B8 texels, row by row.
struct GlyphPageImage {
    static constexpr int32_t kWidth = 2048;

    int32_t height = 0;        // a power of two, at most 2048
    std::vector<uint32_t> texels;
    // Up to the last texel with any alpha.
    int32_t imageWidth = 0;
    int32_t imageHeight = 0;
    std::vector<GlyphCell> cells;   // in list order
};

// The pages of one rasterisation. With padding, each cell reaches an
// outline width beyond its glyph on every side and the pen starts that far in.
std::vector<GlyphPageImage> RasterizeGlyphPages(const GlyphStyle& style, const CharList& characters, bool pad);

// The page height for glyphs that use this many rows: 2048 halved while the
// rows fit into half of it.
int32_t GlyphPageHeight(int32_t usedRows);
// Passes of a box blur on the alpha, the last one weaker by the fraction.
void SoftenAlpha(std::vector<uint32_t>& texels, int32_t width, int32_t height, float softening);
// Glyph texels become opaque, coloured from the outline colour (faint
// edges) to the fill (solid ones); empty texels within the width around
// them take the outline colour, fading over its last pixel.
void OutlineGlyphs(std::vector<uint32_t>& texels, int32_t width, int32_t height, float outlineWidth,
                   const Color& outline, const Color& fill);

// t clamped to 0..1.
Color LerpColor(const Color& a, const Color& b, float t);
