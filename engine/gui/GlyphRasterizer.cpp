#include "engine/gui/GlyphRasterizer.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int32_t kCanvasEdge = GlyphPageImage::kWidth;
constexpr int32_t kRowGap = 4;      // pixels between rows
constexpr int32_t kGlyphGap = 4;    // pixels between glyphs of a row
constexpr int32_t kRightMargin = 2;
constexpr int32_t kPointsPerInch = 72;
constexpr uint32_t kAlphaShift = 24;
constexpr uint32_t kOpaque = 255;

// The bitmap every rasterisation draws into, made on first use and kept for
// the run: a memory context with a top-down 32-bit DIB selected.
struct GlyphCanvas {
    HDC dc = nullptr;
    uint32_t* bits = nullptr;

    void Clear() { std::memset(bits, 0, sizeof(uint32_t) * kCanvasEdge * kCanvasEdge); }
    // The grey level GDI drew at the pixel.
    uint32_t Grey(int32_t x, int32_t y) const { return bits[y * kCanvasEdge + x] & 0xFF; }
};

GlyphCanvas& SharedCanvas()
{
    static GlyphCanvas canvas;
    if (!canvas.dc) {
        canvas.dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kCanvasEdge;
        info.bmiHeader.biHeight = -kCanvasEdge;   // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(canvas.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        SelectObject(canvas.dc, bitmap);
        canvas.bits = static_cast<uint32_t*>(bits);
    }
    return canvas;
}

uint32_t Alpha(uint32_t texel)
{
    return texel >> kAlphaShift;
}

uint32_t WithAlpha(uint32_t texel, uint32_t alpha)
{
    return (texel & 0x00FFFFFF) | (alpha << kAlphaShift);
}

// Each component times 255, truncated.
uint32_t PackRgb(const Color& color)
{
    const auto byte = [](float value) { return static_cast<uint32_t>(static_cast<int32_t>(value * 255.0f)) & 0xFF; };
    return byte(color.r) << 16 | byte(color.g) << 8 | byte(color.b);
}

// The glyphs of the canvas as texels of the fill colour.
void ReadCanvas(const GlyphCanvas& canvas, const Color& fill, GlyphPageImage& page)
{
    const uint32_t rgb = PackRgb(fill);
    page.texels.resize(static_cast<size_t>(kCanvasEdge) * page.height);
    for (int32_t y = 0; y < page.height; ++y) {
        for (int32_t x = 0; x < kCanvasEdge; ++x) {
            page.texels[y * kCanvasEdge + x] = rgb | canvas.Grey(x, y) << kAlphaShift;
        }
    }
}

void MeasureImage(GlyphPageImage& page)
{
    int32_t right = 0;
    int32_t bottom = 0;
    for (int32_t y = 0; y < page.height; ++y) {
        for (int32_t x = 0; x < kCanvasEdge; ++x) {
            if (Alpha(page.texels[y * kCanvasEdge + x]) != 0) {
                right = std::max(right, x + 1);
                bottom = y + 1;
            }
        }
    }
    page.imageWidth = std::max(right, 1);
    page.imageHeight = std::max(bottom, 1);
}

// Draws characters from next on until the list ends or the canvas is full;
// next is left at the first character not drawn. Returns the rows used.
int32_t DrawPageGlyphs(HDC dc, const CharList& characters, size_t& next, float outlineWidth, float margin,
                       int32_t emHeight, GlyphPageImage& page)
{
    float x = outlineWidth;
    float y = outlineWidth;
    float lowestCell = 0.0f;
    for (; next < characters.size(); ++next) {
        const wchar_t c = characters[next];
        SIZE extent{};
        GetTextExtentPoint32W(dc, &c, 1, &extent);
        const float width = static_cast<float>(extent.cx);
        const float height = static_cast<float>(extent.cy);
        if (x + width + margin + kRightMargin > kCanvasEdge) {
            x = margin;
            y += height + kRowGap + margin;
        }
        // A full canvas continues on the next page rather than drawing past its bottom.
        if (y + height + margin > kCanvasEdge && !page.cells.empty()) {
            break;
        }
        ExtTextOutW(dc, static_cast<int>(x), static_cast<int>(y), ETO_OPAQUE, nullptr, &c, 1, nullptr);
        page.cells.push_back({c, x - margin, y - margin, x + width + margin, y + height + margin, width});
        lowestCell = std::max(lowestCell, y + height + margin);
        x += width + 2.0f * margin + kGlyphGap;
    }
    // The em height the rows are measured with can be less than a cell's
    // height: the page must hold the lowest cell whole.
    return static_cast<int32_t>(std::ceil(std::max(y + outlineWidth + emHeight, lowestCell)));
}

} // namespace

Color LerpColor(const Color& a, const Color& b, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return {a.r + t * (b.r - a.r), a.g + t * (b.g - a.g), a.b + t * (b.b - a.b), a.a + t * (b.a - a.a)};
}

int32_t GlyphPageHeight(int32_t usedRows)
{
    int32_t height = kCanvasEdge;
    while (usedRows < height / 2) {
        height /= 2;
    }
    return height;
}

void SoftenAlpha(std::vector<uint32_t>& texels, int32_t width, int32_t height, float softening)
{
    const auto alphaAt = [&](int32_t x, int32_t y) {
        return static_cast<float>(Alpha(texels[std::clamp(y, 0, height - 1) * width + std::clamp(x, 0, width - 1)]));
    };
    const int32_t passes = static_cast<int32_t>(softening + 0.99f);
    float remaining = softening;
    for (int32_t pass = 0; pass < passes; ++pass) {
        const float weight = std::min(remaining, 1.0f);
        // In place and in row order: each texel sees its left and upper
        // neighbours already softened.
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                const float neighbours = alphaAt(x - 1, y) + alphaAt(x + 1, y) + alphaAt(x, y - 1) + alphaAt(x, y + 1);
                const int32_t sum = static_cast<int32_t>(alphaAt(x, y) + weight * neighbours);
                const auto softened = static_cast<uint32_t>(static_cast<float>(sum) / (1.0f + 4.0f * weight));
                uint32_t& texel = texels[y * width + x];
                texel = WithAlpha(texel, softened);
            }
        }
        remaining -= weight;
    }
}

void OutlineGlyphs(std::vector<uint32_t>& texels, int32_t width, int32_t height, float outlineWidth,
                   const Color& outline, const Color& fill)
{
    uint32_t ramp[256];
    for (uint32_t i = 0; i < 256; ++i) {
        ramp[i] = PackRgb(LerpColor(outline, fill, i / 255.0f)) | kOpaque << kAlphaShift;
    }
    const uint32_t outlineRgb = PackRgb(outline);
    const float reach = outlineWidth;
    std::vector<uint32_t> outlined(texels.size(), 0);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t alpha = Alpha(texels[y * width + x]);
            if (alpha == 0) {
                continue;
            }
            outlined[y * width + x] = ramp[alpha];
            const int32_t top = std::max(0, static_cast<int32_t>(std::ceil(y - reach)));
            const int32_t left = std::max(0, static_cast<int32_t>(std::ceil(x - reach)));
            for (int32_t ny = top; ny < y + reach && ny < height; ++ny) {
                for (int32_t nx = left; nx < x + reach && nx < width; ++nx) {
                    uint32_t& target = outlined[ny * width + nx];
                    if (Alpha(texels[ny * width + nx]) != 0 || Alpha(target) == kOpaque) {
                        continue;
                    }
                    const float dx = static_cast<float>(nx - x);
                    const float dy = static_cast<float>(ny - y);
                    const float squared = dx * dx + dy * dy;
                    if (squared > reach * reach) {
                        continue;
                    }
                    const auto coverage =
                        static_cast<uint32_t>(255.0f * std::clamp(reach - std::sqrt(squared), 0.0f, 1.0f));
                    target = outlineRgb | std::max(Alpha(target), coverage * alpha / 255) << kAlphaShift;
                }
            }
        }
    }
    texels.swap(outlined);
}

std::vector<GlyphPageImage> RasterizeGlyphPages(const GlyphStyle& style, const CharList& characters, bool pad)
{
    std::vector<GlyphPageImage> pages;
    if (characters.empty()) {
        return pages;
    }
    GlyphCanvas& canvas = SharedCanvas();
    HDC dc = canvas.dc;
    SetMapMode(dc, MM_TEXT);
    const int32_t fontHeight = -MulDiv(style.size, GetDeviceCaps(dc, LOGPIXELSY), kPointsPerInch);
    HFONT font = CreateFontW(fontHeight, 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                             VARIABLE_PITCH, style.face.c_str());
    HGDIOBJ previousFont = SelectObject(dc, font);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextAlign(dc, TA_LEFT | TA_TOP);

    const float margin = pad ? style.outlineWidth : 0.0f;
    for (size_t next = 0; next < characters.size();) {
        canvas.Clear();
        GlyphPageImage page;
        const int32_t usedRows =
            DrawPageGlyphs(dc, characters, next, style.outlineWidth, margin, std::abs(fontHeight), page);
        GdiFlush();
        page.height = GlyphPageHeight(usedRows);
        ReadCanvas(canvas, style.fill, page);
        SoftenAlpha(page.texels, GlyphPageImage::kWidth, page.height, style.softening);
        if (style.outlineWidth != 0.0f) {
            OutlineGlyphs(page.texels, GlyphPageImage::kWidth, page.height, style.outlineWidth, style.outline,
                          style.fill);
        }
        MeasureImage(page);
        pages.push_back(std::move(page));
    }

    SelectObject(dc, previousFont);
    DeleteObject(font);
    return pages;
}
