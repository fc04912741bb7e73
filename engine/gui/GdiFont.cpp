#include "engine/gui/GdiFont.h"

#include "engine/core/dcEngine.h"
#include "engine/video/TextureResource.h"
#include "engine/video/VideoDevice.h"

#include <windows.h>

namespace {

struct CodeRun {
    wchar_t first;
    wchar_t last;
};

struct GlyphSetRuns {
    int32_t set;
    std::vector<CodeRun> runs;
};

const GlyphSetRuns kGlyphSets[] = {
    {kGlyphsLowerCase, {{L'a', L'z'}}},
    {kGlyphsUpperCase, {{L'A', L'Z'}}},
    {kGlyphsDigits, {{L'0', L'9'}}},
    {kGlyphsPunctuation, {{32, 47}, {58, 64}, {91, 96}, {123, 126}}},
    {kGlyphsLatin1, {{127, 287}}},
};

constexpr int32_t kTexelBytes = 4;
constexpr float kTextFontSoftening = 1.0f;

// The page's texture on the engine's video device; none without one.
std::unique_ptr<TextureResource> CreatePageTexture(const GlyphPageImage& image)
{
    VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    if (!video) {
        return nullptr;
    }
    std::unique_ptr<TextureResource> texture =
        video->CreateTexture({kTextureArgb32, kTextureKind2D, image.imageWidth, image.imageHeight,
                              GlyphPageImage::kWidth, image.height, 1, false, false, false});
    if (texture) {
        texture->Upload({0, 0, GlyphPageImage::kWidth, image.height}, 0,
                        {image.texels.data(), GlyphPageImage::kWidth * kTexelBytes}, kTextureArgb32);
    }
    return texture;
}

} // namespace

GdiFont::GdiFont(const GlyphStyle& style)
    : Font(style.face, style.size, style.bold)
    , style_(style)
{
}

void GdiFont::RasterizeGlyphs(const CharList& characters, bool pad)
{
    const float margin = pad ? style_.outlineWidth : 0.0f;
    SetOrigin(margin, margin);
    for (const GlyphPageImage& image : RasterizeGlyphPages(style_, characters, pad)) {
        auto page = std::make_unique<FontPage>();
        page->texture = CreatePageTexture(image);
        page->width = GlyphPageImage::kWidth;
        page->height = image.height;
        AddPage(std::move(page), image.cells);
    }
}

CharList GetGlyphSetChars(int32_t glyphSets)
{
    CharList characters;
    for (const GlyphSetRuns& set : kGlyphSets) {
        if ((glyphSets & set.set) == 0) {
            continue;
        }
        for (const CodeRun& run : set.runs) {
            for (wchar_t c = run.first; c <= run.last; ++c) {
                characters.push_back(c);
            }
        }
    }
    return characters;
}

std::unique_ptr<GdiFont> CreateGdiFont(const CharList& characters, const GlyphStyle& style)
{
    auto font = std::make_unique<GdiFont>(style);
    font->Rasterize(characters);
    return font;
}

std::unique_ptr<GdiFont> MakeFont(int32_t glyphSets, const WideString& face, int32_t size, bool bold, float softening,
                                  float outlineWidth, const Color& fill, const Color& outline)
{
    return CreateGdiFont(GetGlyphSetChars(glyphSets), {face, size, bold, softening, outlineWidth, fill, outline});
}

std::unique_ptr<GdiFont> CreateGdiFontForText(const WideString& text, const WideString& face, int32_t size, bool bold,
                                              float outlineWidth, const Color& fill, const Color& outline)
{
    auto font = std::make_unique<GdiFont>(GlyphStyle{face, size, bold, kTextFontSoftening, outlineWidth, fill, outline});
    font->RasterizeGlyphs(CharList(text.begin(), text.end()), false);
    return font;
}

bool AddFontFile(const WideString& path)
{
    return AddFontResourceW(path.c_str()) > 0;
}
