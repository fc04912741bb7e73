#pragma once
// Fonts whose glyphs GDI draws at start-up: a face at a size, optionally
// softened and outlined, rasterised for whole glyph sets at once. The
// program's default font and the menus' fonts are made with MakeFont.

#include "engine/gui/GlyphRasterizer.h"

#include <memory>

// Glyph sets, appended in this order when several are asked for.
enum GlyphSet : int32_t {
    kGlyphsLowerCase = 1,     // a to z
    kGlyphsUpperCase = 2,     // A to Z
    kGlyphsDigits = 4,        // 0 to 9
    kGlyphsPunctuation = 8,   // the space and the printable ASCII punctuation
    kGlyphsLatin1 = 16,       // codes 127 to 287
    kGlyphsAll = 31,
};

class GdiFont : public Font {
public:
    explicit GdiFont(const GlyphStyle& style);

    // With the origin pad: each cell has an outline width of room around it.
    void Rasterize(const CharList& characters) override { RasterizeGlyphs(characters, true); }
    void RasterizeGlyphs(const CharList& characters, bool pad);

    const GlyphStyle& GetStyle() const { return style_; }

private:
    GlyphStyle style_;
};

// The characters of the sets, in the sets' order.
CharList GetGlyphSetChars(int32_t glyphSets);

std::unique_ptr<GdiFont> MakeFont(int32_t glyphSets, const WideString& face, int32_t size, bool bold, float softening,
                                  float outlineWidth, const Color& fill, const Color& outline);
std::unique_ptr<GdiFont> CreateGdiFont(const CharList& characters, const GlyphStyle& style);
// A font for exactly the text's characters, softened by 1 and without the origin pad.
std::unique_ptr<GdiFont> CreateGdiFontForText(const WideString& text, const WideString& face, int32_t size, bool bold,
                                              float outlineWidth, const Color& fill, const Color& outline);

// Registers a font file with the system by path, so its face can be asked
// for by name; false when the system refuses it.
bool AddFontFile(const WideString& path);
