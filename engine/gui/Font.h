#pragma once
// Text drawn from glyph atlases: every character a font knows has a cell on
// one of the font's texture pages and an advance. Characters it does not know
// yet are rasterised on first use, on a page of their own. Measuring and
// hit-testing read the same advances the sprite batch draws with, so layout
// and drawing agree. Colour codes ("^1", two carets for one) take no room.

#include "engine/files/WideString.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class TextureResource;

// Characters to rasterise, in the order they are laid out.
using CharList = std::vector<wchar_t>;

// A run of characters of a text: the first and how many.
struct TextRange {
    int32_t first;
    int32_t count;
};

// One texture page: the glyphs of one rasterisation.
struct FontPage {
    std::unique_ptr<TextureResource> texture;   // none without a video device
    int32_t width = 0;    // texels
    int32_t height = 0;
};

// Where one rasterisation put a character: its cell in texels of the page.
struct GlyphCell {
    wchar_t character;
    float left;
    float top;
    float right;
    float bottom;
    float advance;
};

struct GlyphInfo {
    const FontPage* page = nullptr;
    // The cell in texels of the page.
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    float advance = 0.0f;   // pixels the pen moves on
};

class Font {
public:
    Font(const WideString& face, int32_t size, bool bold);
    // The pages go with the font.
    virtual ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Adds the characters on new pages; characters the font has keep theirs.
    virtual void Rasterize(const CharList& characters) = 0;

    // The glyph of the character, rasterised first when the font lacks it.
    const GlyphInfo& GetGlyph(wchar_t c);
    float GetAdvance(wchar_t c) { return GetGlyph(c).advance; }
    // Pixels the range takes when drawn; colour codes take none.
    float MeasureRange(const WideString& text, TextRange range);
    float MeasureText(const WideString& text);
    // The character under x, counted from the range's start; first + count
    // when x lies beyond the range. For two carets, the second's index.
    int32_t IndexAtX(const WideString& text, float x, TextRange range);

    const WideString& GetFaceName() const { return faceName_; }
    // The height in points, and the line height of text in this font.
    int32_t GetSize() const { return size_; }
    bool IsBold() const { return bold_; }
    // From a glyph cell's corner to the pen position.
    float GetOriginX() const { return originX_; }
    float GetOriginY() const { return originY_; }
    const std::vector<std::unique_ptr<FontPage>>& GetPages() const { return pages_; }
    bool HasGlyph(wchar_t c) const { return glyphs_.count(c) != 0; }

protected:
    // The page becomes the font's; each character not yet known takes its cell.
    void AddPage(std::unique_ptr<FontPage> page, const std::vector<GlyphCell>& cells);
    void SetOrigin(float x, float y)
    {
        originX_ = x;
        originY_ = y;
    }

private:
    // The range clipped to the text.
    static TextRange Clip(const WideString& text, TextRange range);

    std::map<wchar_t, GlyphInfo> glyphs_;
    WideString faceName_;
    int32_t size_;
    bool bold_;
    float originX_ = 0.0f;
    float originY_ = 0.0f;
    std::vector<std::unique_ptr<FontPage>> pages_;
};
