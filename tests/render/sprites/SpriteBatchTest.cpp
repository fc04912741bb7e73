#include "engine/core/dcWindow.h"
#include "engine/video/TextureResource.h"
#include "render/device/D3D9Video.h"
#include "render/device/IndexBuffer.h"
#include "render/device/VertexBuffer.h"
#include "render/sprites/SpriteBatch.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

namespace {

const Color kWhite{1.0f, 1.0f, 1.0f, 1.0f};

// Every glyph is the same 8 x 12 white box of one 64 x 64 page, 10 pixels wide.
class BoxFont : public Font {
public:
    explicit BoxFont(VideoDevice& video) : Font(L"Box", 12, false), video_(video) {}

    void Rasterize(const CharList& characters) override
    {
        auto page = std::make_unique<FontPage>();
        page->texture = video_.CreateTexture({kTextureArgb32, kTextureKind2D, 64, 64, 64, 64, 1, false, false, false});
        page->width = 64;
        page->height = 64;
        std::vector<GlyphCell> cells;
        for (wchar_t c : characters) {
            cells.push_back({c, 0.0f, 0.0f, 8.0f, 12.0f, 10.0f});
        }
        AddPage(std::move(page), cells);
    }

private:
    VideoDevice& video_;
};

// A batch on an 800 x 600 device on a hidden test window: nothing is shown,
// but drawing without an effect still fills the rings and counts the primitives.
class SpriteBatchTest : public testing::Test {
protected:
    ~SpriteBatchTest() override { DestroyWindow(window.GetHandle()); }

    void SetUp() override
    {
        ASSERT_TRUE(video.Create(&window, {800, 600}, {}));
        batch.emplace(video);
        texture = video.CreateTexture({kTextureArgb32, kTextureKind2D, 64, 64, 64, 64, 1, false, false, false});
    }

    // The vertices of the last batch and the ones before it, oldest first.
    std::vector<SpriteVertex> LastVertices(int32_t count, int32_t before = 0)
    {
        VertexBuffer& buffer = *batch->GetVertexBuffer();
        const int32_t start = buffer.GetRingPosition() - before;
        auto* vertices = static_cast<SpriteVertex*>(buffer.Lock({start, count}, kLockNoOverwrite));
        std::vector<SpriteVertex> copied(vertices, vertices + count);
        buffer.Unlock();
        return copied;
    }

    // Glyph quads drawn for the text: two triangles each.
    int32_t DrawnGlyphs(const WideString& text)
    {
        video.BeginFrame();
        batch->DrawText(text, *font, {0, 0}, kWhite, nullptr, false);
        const int32_t primitives = video.GetFrameStatistics().primitives;
        video.EndFrame();
        return primitives / 2;
    }

    dcWindow window{L"Test", EngineWindowRect(1024, 768, false), false};
    D3D9Video video;
    std::optional<SpriteBatch> batch;
    std::unique_ptr<TextureResource> texture;
    std::unique_ptr<BoxFont> font = std::make_unique<BoxFont>(video);
};

void ExpectAt(const SpriteVertex& vertex, float x, float y)
{
    EXPECT_FLOAT_EQ(vertex.x, x / 400.0f - 1.0f);
    EXPECT_FLOAT_EQ(vertex.y, 1.0f - y / 300.0f);
}

} // namespace

TEST_F(SpriteBatchTest, AnImageQuadCoversItsSourceSizeFromThePosition)
{
    batch->DrawImage(texture.get(), {0, 0, 64, 64}, {100, 50}, {1.0f, 0.0f, 0.0f, 0.5f}, nullptr);
    const std::vector<SpriteVertex> corners = LastVertices(4);
    ExpectAt(corners[0], 100, 50);
    ExpectAt(corners[1], 100, 114);
    ExpectAt(corners[2], 164, 114);
    ExpectAt(corners[3], 164, 50);
    EXPECT_FLOAT_EQ(corners[0].u, 0.5f / 64);
    EXPECT_FLOAT_EQ(corners[2].v, 64.5f / 64);
    EXPECT_EQ(corners[0].color, 0x7FFF0000u);

    IndexBuffer& indices = *batch->GetIndexBuffer();
    ASSERT_NE(indices.Lock({indices.GetRingPosition(), 6}, kLockNoOverwrite | kLockReadsOldValues), nullptr);
    std::vector<uint32_t> read;
    for (int32_t i = 0; i < 6; ++i) {
        read.push_back(*indices.ElementPointer(i));
    }
    indices.Unlock();
    EXPECT_EQ(read, (std::vector<uint32_t>{0, 2, 1, 0, 3, 2}));   // counted from the batch's start
}

TEST_F(SpriteBatchTest, AVirtualScreenMapsItsCornerToTheClipCorner)
{
    batch->SetVirtualScreen(400, 300);
    batch->DrawFilledRect({0, 0, 400, 300}, kWhite, nullptr);
    SpriteVertex corner = LastVertices(4)[2];
    EXPECT_FLOAT_EQ(corner.x, 1.0f);
    EXPECT_FLOAT_EQ(corner.y, -1.0f);
    batch->ResetVirtualScreen();
    batch->DrawFilledRect({0, 0, 400, 300}, kWhite, nullptr);
    corner = LastVertices(4)[2];
    EXPECT_FLOAT_EQ(corner.x, 0.0f);
    EXPECT_FLOAT_EQ(corner.y, 0.0f);
}

TEST_F(SpriteBatchTest, TransformedQuadsTurnAboutTheirCentre)
{
    // A quarter turn: (dx, dy) becomes (-dy, dx).
    batch->DrawImageTransformed(texture.get(), {0, 0, 64, 64}, 0, {200, 150}, {0, 1, -1, 0}, kAnchorNone, kWhite,
                                nullptr);
    const std::vector<SpriteVertex> corners = LastVertices(4);
    ExpectAt(corners[0], 232, 118);   // the top-left offset (-32, -32) turned
    ExpectAt(corners[2], 168, 182);
}

TEST_F(SpriteBatchTest, TheIndexRingRestartsWhenABatchWouldReachItsEnd)
{
    const int32_t fits = 65536 / 6;   // batches of one quad before the ring is full
    for (int32_t i = 0; i < fits; ++i) {
        batch->DrawFilledRect({0, 0, 10, 10}, kWhite, nullptr);
    }
    EXPECT_EQ(batch->GetIndexBuffer()->GetRingPosition(), 6 * (fits - 1));
    EXPECT_EQ(batch->GetVertexBuffer()->GetRingPosition(), 4 * (fits - 1));
    batch->DrawFilledRect({0, 0, 10, 10}, kWhite, nullptr);
    EXPECT_EQ(batch->GetIndexBuffer()->GetRingPosition(), 0);
    EXPECT_EQ(batch->GetVertexBuffer()->GetRingPosition(), 4 * fits);
}

TEST_F(SpriteBatchTest, ShadowedGlyphsDrawTheHalfAlphaShadowFirst)
{
    batch->DrawText(L"A", *font, {10, 20}, {1.0f, 0.5f, 0.25f, 0.8f}, nullptr, true);
    const std::vector<SpriteVertex> quads = LastVertices(8);
    ExpectAt(quads[0], 15, 22);
    ExpectAt(quads[2], 23, 34);
    EXPECT_EQ(quads[0].color, 0x66000000u);
    ExpectAt(quads[4], 10, 20);
    ExpectAt(quads[6], 18, 32);
    EXPECT_EQ(quads[4].color, 0xCCFF7F3Fu);
}

TEST_F(SpriteBatchTest, ColourCodesColourTheGlyphsAfterThem)
{
    batch->DrawText(L"A^1B", *font, {0, 0}, kWhite, nullptr, false);
    const std::vector<SpriteVertex> glyphs = LastVertices(8, 4);
    EXPECT_EQ(glyphs[0].color, 0xFFFFFFFFu);
    EXPECT_EQ(glyphs[4].color, 0xFFFF0000u);
    ExpectAt(glyphs[4], 10, 0);   // the code took no room
}

TEST_F(SpriteBatchTest, CodesCaretsAndTheEndOfTheText)
{
    struct Case {
        WideString text;
        int32_t glyphs;
    };
    for (const Case& c : std::initializer_list<Case>{{L"AB", 2},
                                                     {L"^^", 1},
                                                     {L"a^x", 1},
                                                     {L"a^", 2},
                                                     {L"^1^7", 0},
                                                     {WideString(L"ab\0c", 4), 2},
                                                     {L"", 0}}) {
        EXPECT_EQ(DrawnGlyphs(c.text), c.glyphs) << WideStringToNarrow(c.text);
    }
}

TEST_F(SpriteBatchTest, TextIgnoresTheGlyphAlignmentButNotTheAnchor)
{
    batch->DrawTextAligned(L"A", *font, kAnchorNone, {10, 20}, kAnchorNone, kWhite, nullptr, false);
    const SpriteVertex plain = LastVertices(1)[0];
    batch->DrawTextAligned(L"A", *font, 0x12, {10, 20}, kAnchorNone, kWhite, nullptr, false);
    const SpriteVertex aligned = LastVertices(1)[0];
    EXPECT_EQ(aligned.x, plain.x);
    EXPECT_EQ(aligned.y, plain.y);
    batch->DrawTextAligned(L"A", *font, kAnchorNone, {-180, 20}, 0x21, kWhite, nullptr, false);
    ExpectAt(LastVertices(1)[0], 620, 20);   // from the right edge
}
