#include "engine/gui/Font.h"

#include "engine/video/TextureResource.h"

#include <algorithm>

namespace {

constexpr wchar_t kColourCode = L'^';

// Walks a range as text is drawn: a caret and the character after it are
// one code, which is drawn (and takes room) only when both are carets. The
// visitor gets each character that takes room and its index, and answers
// false to stop.
template <typename Visitor>
void ForEachDrawnCharacter(const WideString& text, TextRange range, Visitor visit)
{
    const int32_t end = range.first + range.count;
    for (int32_t i = range.first; i < end; ++i) {
        if (text[i] == kColourCode && i + 1 < end) {
            ++i;
            if (text[i] != kColourCode) {
                continue;
            }
        }
        if (!visit(text[i], i)) {
            return;
        }
    }
}

} // namespace

Font::Font(const WideString& face, int32_t size, bool bold)
    : faceName_(face)
    , size_(size)
    , bold_(bold)
{
}

Font::~Font() = default;

const GlyphInfo& Font::GetGlyph(wchar_t c)
{
    auto found = glyphs_.find(c);
    if (found == glyphs_.end()) {
        Rasterize(CharList{c});
        found = glyphs_.find(c);
    }
    static const GlyphInfo kNoGlyph;
    return found == glyphs_.end() ? kNoGlyph : found->second;
}

TextRange Font::Clip(const WideString& text, TextRange range)
{
    const int32_t length = static_cast<int32_t>(text.size());
    const int32_t first = std::clamp(range.first, 0, length);
    return {first, std::clamp(range.count, 0, length - first)};
}

float Font::MeasureRange(const WideString& text, TextRange range)
{
    float width = -originX_;
    ForEachDrawnCharacter(text, Clip(text, range), [&](wchar_t c, int32_t) {
        width += GetAdvance(c);
        return true;
    });
    return width;
}

float Font::MeasureText(const WideString& text)
{
    return MeasureRange(text, {0, static_cast<int32_t>(text.size())});
}

int32_t Font::IndexAtX(const WideString& text, float x, TextRange range)
{
    const TextRange clipped = Clip(text, range);
    float remaining = x + originX_;
    int32_t index = range.first + range.count;
    ForEachDrawnCharacter(text, clipped, [&](wchar_t c, int32_t i) {
        remaining -= GetAdvance(c);
        if (remaining <= 0.0f) {
            index = i;
            return false;
        }
        return true;
    });
    return index;
}

void Font::AddPage(std::unique_ptr<FontPage> page, const std::vector<GlyphCell>& cells)
{
    for (const GlyphCell& cell : cells) {
        glyphs_.emplace(cell.character,
                        GlyphInfo{page.get(), cell.left, cell.top, cell.right, cell.bottom, cell.advance});
    }
    pages_.push_back(std::move(page));
}
