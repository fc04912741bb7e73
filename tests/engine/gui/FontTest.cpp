#include "engine/gui/GdiFont.h"
#include "tests/engine/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

namespace {

const Color kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const Color kBlack{0.0f, 0.0f, 0.0f, 1.0f};
const Color kRed{1.0f, 0.0f, 0.0f, 1.0f};

GlyphStyle Style(int32_t size, float outlineWidth = 0.0f)
{
    return {L"Tahoma", size, true, 0.0f, outlineWidth, kWhite, kBlack};
}

CharList Chars(const wchar_t* text)
{
    return CharList(text, text + std::wcslen(text));
}

uint32_t Alpha(uint32_t texel)
{
    return texel >> 24;
}

CharList Codes(wchar_t first, wchar_t last)
{
    CharList run;
    for (wchar_t c = first; c <= last; ++c) {
        run.push_back(c);
    }
    return run;
}

CharList Join(std::initializer_list<CharList> parts)
{
    CharList joined;
    for (const CharList& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

} // namespace

TEST(GlyphSets, AppendTheSetsInTheirOrder)
{
    const CharList punctuation = Join({Codes(32, 47), Codes(58, 64), Codes(91, 96), Codes(123, 126)});
    EXPECT_EQ(punctuation.size(), 33u);
    struct Case {
        int32_t sets;
        CharList characters;
    };
    for (const Case& c : std::initializer_list<Case>{
             {kGlyphsAll, Join({Codes(L'a', L'z'), Codes(L'A', L'Z'), Codes(L'0', L'9'), punctuation, Codes(127, 287)})},
             {kGlyphsLowerCase | kGlyphsUpperCase, Join({Codes(L'a', L'z'), Codes(L'A', L'Z')})},
             {kGlyphsPunctuation, punctuation},
             {32, {}}}) {
        EXPECT_EQ(GetGlyphSetChars(c.sets), c.characters) << c.sets;
    }
    EXPECT_EQ(GetGlyphSetChars(kGlyphsAll).size(), 256u);
}

TEST(GlyphPages, AreTheSmallestPowerOfTwoHoldingTheirRows)
{
    struct Case {
        int32_t rows;
        int32_t height;
    };
    for (const Case& c : std::initializer_list<Case>{{50, 64}, {600, 1024}, {63, 64}, {64, 128}, {2000, 2048}}) {
        EXPECT_EQ(GlyphPageHeight(c.rows), c.height) << c.rows;
    }
}

TEST(GdiFont, OneRasterisationLaysEveryGlyphOutOnOnePage)
{
    std::unique_ptr<GdiFont> font = MakeFont(kGlyphsAll, L"Tahoma", 14, true, 0.0f, 0.0f, kWhite, kBlack);
    ASSERT_EQ(font->GetPages().size(), 1u);
    const FontPage& page = *font->GetPages().front();
    EXPECT_EQ(page.width, 2048);
    EXPECT_LE(page.height, 256);   // 256 glyphs of 14 points fill a few rows
    EXPECT_EQ(font->GetOriginX(), 0.0f);
    for (wchar_t c : GetGlyphSetChars(kGlyphsAll)) {
        ASSERT_TRUE(font->HasGlyph(c)) << static_cast<int>(c);
        const GlyphInfo& glyph = font->GetGlyph(c);
        EXPECT_EQ(glyph.page, &page);
        EXPECT_GE(glyph.left, 0.0f);
        EXPECT_LE(glyph.right, 2048.0f);
        EXPECT_LE(glyph.bottom, static_cast<float>(page.height)) << static_cast<int>(c);
        EXPECT_EQ(glyph.right - glyph.left, glyph.advance);
    }
    EXPECT_GT(font->GetAdvance(L'W'), font->GetAdvance(L'i'));
    EXPECT_EQ(font->GetPages().size(), 1u);   // looking glyphs up made no page
}

TEST(GdiFont, CharactersOutsideTheSetGetAPageOfTheirOwn)
{
    std::unique_ptr<GdiFont> font = MakeFont(kGlyphsLowerCase, L"Tahoma", 14, false, 0.0f, 0.0f, kWhite, kBlack);
    const FontPage* first = font->GetGlyph(L'a').page;
    EXPECT_FALSE(font->HasGlyph(L'Z'));
    const FontPage* second = font->GetGlyph(L'Z').page;
    ASSERT_EQ(font->GetPages().size(), 2u);
    EXPECT_EQ(second, font->GetPages()[1].get());
    EXPECT_NE(second, first);
    EXPECT_EQ(font->GetGlyph(L'Z').page, second);
    EXPECT_EQ(font->GetGlyph(L'a').page, first);
    EXPECT_EQ(font->GetPages().size(), 2u);
}

TEST(GdiFont, AnOutlinePadsEveryCellAndMovesThePen)
{
    std::unique_ptr<GdiFont> font = CreateGdiFont(Chars(L"AB"), Style(20, 2.0f));
    EXPECT_EQ(font->GetOriginX(), 2.0f);
    EXPECT_EQ(font->GetOriginY(), 2.0f);
    const GlyphInfo& glyph = font->GetGlyph(L'A');
    EXPECT_EQ(glyph.right - glyph.left, glyph.advance + 4.0f);
    EXPECT_GE(glyph.left, 0.0f);
    EXPECT_GE(glyph.top, 0.0f);

    std::unique_ptr<GdiFont> forText = CreateGdiFontForText(L"AB", L"Tahoma", 20, true, 2.0f, kWhite, kBlack);
    EXPECT_EQ(forText->GetOriginX(), 0.0f);   // text fonts have no origin pad
}

// A font too large for one bitmap goes on over further pages rather than
// drawing glyphs past the bitmap's bottom.
TEST(GdiFont, AFullPageContinuesOnTheNextOne)
{
    std::unique_ptr<GdiFont> font = MakeFont(kGlyphsAll, L"Tahoma", 160, false, 0.0f, 0.0f, kWhite, kBlack);
    EXPECT_GT(font->GetPages().size(), 1u);
    for (wchar_t c : GetGlyphSetChars(kGlyphsAll)) {
        ASSERT_TRUE(font->HasGlyph(c)) << static_cast<int>(c);
        const GlyphInfo& glyph = font->GetGlyph(c);
        EXPECT_LE(glyph.bottom, static_cast<float>(glyph.page->height)) << static_cast<int>(c);
        EXPECT_LE(glyph.right, 2048.0f) << static_cast<int>(c);
    }
}

TEST(GlyphRasterizer, GlyphsAreFillColouredAlphaInsideTheirCells)
{
    GlyphStyle style = Style(24);
    style.fill = kRed;
    const std::vector<GlyphPageImage> pages = RasterizeGlyphPages(style, Chars(L"H."), true);
    ASSERT_EQ(pages.size(), 1u);
    const GlyphPageImage& page = pages.front();
    ASSERT_EQ(page.cells.size(), 2u);
    const auto inside = [&](int32_t x, int32_t y) {
        return std::any_of(page.cells.begin(), page.cells.end(), [&](const GlyphCell& cell) {
            return x >= cell.left && x < cell.right && y >= cell.top && y < cell.bottom;
        });
    };
    int32_t drawn = 0;
    for (int32_t y = 0; y < page.height; ++y) {
        for (int32_t x = 0; x < GlyphPageImage::kWidth; ++x) {
            const uint32_t texel = page.texels[y * GlyphPageImage::kWidth + x];
            EXPECT_EQ(texel & 0xFFFFFF, 0xFF0000u);
            if (Alpha(texel) != 0) {
                ++drawn;
                EXPECT_TRUE(inside(x, y)) << x << "," << y;
            }
        }
    }
    EXPECT_GT(drawn, 50);   // the H's two bars at least
    EXPECT_GT(page.imageWidth, 0);
    EXPECT_LE(page.imageWidth, static_cast<int32_t>(page.cells.back().right));
}

TEST(GlyphRasterizer, OutlinesRingTheGlyphsInTheOutlineColour)
{
    GlyphStyle style = Style(24, 3.0f);
    style.outline = kRed;
    const GlyphPageImage page = RasterizeGlyphPages(style, Chars(L"I"), true).front();
    int32_t outlined = 0;
    for (uint32_t texel : page.texels) {
        if (Alpha(texel) != 0 && (texel & 0xFFFFFF) == 0xFF0000u) {
            ++outlined;
        }
    }
    EXPECT_GT(outlined, 20);
}

TEST(GlyphRasterizer, SofteningSpreadsAlphaToTheNeighbours)
{
    const auto single = [] {
        std::vector<uint32_t> texels(25, 0);
        texels[12] = 255u << 24;
        return texels;
    };
    std::vector<uint32_t> untouched = single();
    SoftenAlpha(untouched, 5, 5, 0.0f);
    EXPECT_EQ(untouched, single());

    std::vector<uint32_t> softened = single();
    SoftenAlpha(softened, 5, 5, 1.0f);
    // In row order: the centre sees its left and upper neighbours softened (51 each).
    EXPECT_EQ(Alpha(softened[12]), 71u);     // (255 + 102) / 5
    EXPECT_GT(Alpha(softened[13]), 0u);     // right: sees the softened centre
    EXPECT_GT(Alpha(softened[17]), 0u);     // below
    EXPECT_EQ(Alpha(softened[0]), 0u);
}

TEST(FontMeasure, ColourCodesTakeNoRoom)
{
    FixedFont font(10.0f, 14);
    struct Case {
        WideString text;
        float width;
    };
    for (const Case& c : std::initializer_list<Case>{{L"^3ab", 20.0f},
                                                     {L"^^", 10.0f},
                                                     {L"a^", 20.0f},
                                                     {L"^x", 0.0f},
                                                     {L"", 0.0f},
                                                     {WideString(L"a\0b", 3), 30.0f}}) {
        EXPECT_EQ(font.MeasureText(c.text), c.width) << WideStringToNarrow(c.text);
    }
    EXPECT_EQ(font.MeasureRange(L"^1abc", {2, 2}), 20.0f);
    EXPECT_EQ(font.MeasureRange(L"abc", {1, 10}), 20.0f);   // clipped to the text
}

TEST(FontMeasure, IndexAtXSkipsColourCodes)
{
    FixedFont font(10.0f, 14);
    struct Case {
        const wchar_t* text;
        float x;
        TextRange range;
        int32_t index;
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"abc", 5.0f, {0, 3}, 0},
             {L"abc", 10.0f, {0, 3}, 0},
             {L"abc", 10.5f, {0, 3}, 1},
             {L"^2abc", 15.0f, {0, 5}, 3},
             {L"a^^b", 15.0f, {0, 4}, 2},   // the second caret of the pair
             {L"abc", 100.0f, {0, 3}, 3},
             {L"abcdef", 100.0f, {2, 2}, 4},
             {L"abcdef", 15.0f, {2, 2}, 3}}) {
        EXPECT_EQ(font.IndexAtX(c.text, c.x, c.range), c.index) << WideStringToNarrow(c.text) << " at " << c.x;
    }
}

TEST(FontMeasure, GdiGlyphsMeasureAsTheyAdvance)
{
    std::unique_ptr<GdiFont> font = MakeFont(kGlyphsAll, L"Tahoma", 14, false, 0.0f, 0.0f, kWhite, kBlack);
    EXPECT_EQ(font->MeasureText(L"^3ab"), font->GetAdvance(L'a') + font->GetAdvance(L'b'));
    EXPECT_EQ(font->MeasureText(L"^^"), font->GetAdvance(L'^'));
    const WideString text = L"^1Hello ^7world";
    EXPECT_EQ(font->IndexAtX(text, font->MeasureText(L"Hello w") - 0.5f, {0, 15}), 10);
    EXPECT_EQ(font->IndexAtX(text, 10000.0f, {0, 15}), 15);
}
