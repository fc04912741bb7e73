#include "render/device/GpuBuffer.h"
#include "render/sprites/SpriteGeometry.h"
#include "render/sprites/VertexRing.h"

#include <gtest/gtest.h>

TEST(SpriteGeometry, ScreenUnitsMapToClipSpace)
{
    const SpriteMapping mapping{400.0f, 300.0f, 64.0f, 64.0f};
    struct Case {
        Vec2 screen;
        Vec2 clip;
    };
    for (const Case& c : std::initializer_list<Case>{
             {{0, 0}, {-1, 1}}, {{800, 600}, {1, -1}}, {{400, 300}, {0, 0}}, {{100, 450}, {-0.75f, -0.5f}}}) {
        EXPECT_FLOAT_EQ(mapping.ClipX(c.screen.x), c.clip.x);
        EXPECT_FLOAT_EQ(mapping.ClipY(c.screen.y), c.clip.y);
    }
}

TEST(SpriteGeometry, SourceEdgesSampleTexelCentres)
{
    const SpriteMapping mapping{400.0f, 300.0f, 64.0f, 64.0f};
    SpriteVertex corners[4];
    const Vec2 positions[4] = {{0, 0}, {0, 64}, {64, 64}, {64, 0}};
    WriteQuadCorners(corners, positions, {0, 0, 64, 64}, 0xFF00FF00, mapping);
    EXPECT_FLOAT_EQ(corners[0].u, 0.5f / 64);
    EXPECT_FLOAT_EQ(corners[0].v, 0.5f / 64);
    EXPECT_FLOAT_EQ(corners[2].u, 64.5f / 64);
    EXPECT_FLOAT_EQ(corners[2].v, 64.5f / 64);
    EXPECT_FLOAT_EQ(corners[1].u, 0.5f / 64);   // bottom-left
    EXPECT_FLOAT_EQ(corners[1].v, 64.5f / 64);
    EXPECT_FLOAT_EQ(corners[3].u, 64.5f / 64);  // top-right
    EXPECT_FLOAT_EQ(corners[3].v, 0.5f / 64);
    EXPECT_EQ(corners[3].color, 0xFF00FF00u);
}

TEST(SpriteGeometry, AVirtualScreenSpansAnyFullViewport)
{
    struct Case {
        float width;
        float height;
    };
    for (const Case& c : std::initializer_list<Case>{{800, 600}, {1024, 768}, {640, 480}, {1280, 720}}) {
        const Vec2 half = SpriteHalfSizes({0, 0, c.width, c.height}, true, {800, 600}, c.width, c.height);
        const SpriteMapping mapping{half.x, half.y, 1, 1};
        EXPECT_FLOAT_EQ(mapping.ClipX(800), 1.0f) << c.width;
        EXPECT_FLOAT_EQ(mapping.ClipY(600), -1.0f) << c.height;
    }
    // A viewport on half the back buffer: the virtual screen spans the viewport.
    const Vec2 half = SpriteHalfSizes({0, 0, 400, 300}, true, {800, 600}, 800, 600);
    EXPECT_FLOAT_EQ(half.x, 200.0f);
    const Vec2 pixels = SpriteHalfSizes({0, 0, 1024, 768}, false, {800, 600}, 1024, 768);
    EXPECT_FLOAT_EQ(pixels.x, 512.0f);
    EXPECT_FLOAT_EQ(pixels.y, 384.0f);
}

TEST(SpriteGeometry, QuadsAreTwoTrianglesOfTheirOwnFourVertices)
{
    uint32_t indices[6];
    QuadIndices(0, indices);
    EXPECT_EQ(std::vector<uint32_t>(indices, indices + 6), (std::vector<uint32_t>{0, 2, 1, 0, 3, 2}));
    QuadIndices(3, indices);
    EXPECT_EQ(std::vector<uint32_t>(indices, indices + 6), (std::vector<uint32_t>{12, 14, 13, 12, 15, 14}));
}

TEST(SpriteGeometry, AlignmentAndAnchorsMoveByTheFirstBitOfEachPair)
{
    struct Case {
        int32_t flags;
        Vec2 aligned;
        Vec2 anchored;
    };
    // A 40 x 20 image at (100, 50) on an 800 x 600 screen.
    for (const Case& c : std::initializer_list<Case>{{0x9, {100, 50}, {100, 50}},
                                                     {0x2, {100, 40}, {100, 350}},
                                                     {0x4, {100, 30}, {100, 650}},
                                                     {0x6, {100, 40}, {100, 350}},
                                                     {0x10, {80, 50}, {500, 50}},
                                                     {0x20, {60, 50}, {900, 50}},
                                                     {0x30, {80, 50}, {500, 50}},
                                                     {0x12, {80, 40}, {500, 350}},
                                                     {0x24, {60, 30}, {900, 650}}}) {
        const Vec2 aligned = ApplyAlignFlags(c.flags, {100, 50}, 40, 20);
        const Vec2 anchored = ApplyAnchorFlags(c.flags, {100, 50}, 400, 300);
        EXPECT_EQ(aligned.x, c.aligned.x) << c.flags;
        EXPECT_EQ(aligned.y, c.aligned.y) << c.flags;
        EXPECT_EQ(anchored.x, c.anchored.x) << c.flags;
        EXPECT_EQ(anchored.y, c.anchored.y) << c.flags;
    }
}

TEST(VertexRing, ABatchThatWouldReachTheEndRestartsTheRing)
{
    struct Case {
        int32_t position;
        int32_t count;
        RingReservation reserved;
    };
    for (const Case& c : std::initializer_list<Case>{{0, 6, {0, kLockNoOverwrite}},
                                                     {65520, 12, {65520, kLockNoOverwrite}},
                                                     {65530, 6, {0, kLockDiscard}},
                                                     {65532, 6, {0, kLockDiscard}},
                                                     {60000, 5536, {0, kLockDiscard}}}) {
        const RingReservation reserved = ReserveRing(c.position, c.count, 65536);
        EXPECT_EQ(reserved.start, c.reserved.start) << c.position << "+" << c.count;
        EXPECT_EQ(reserved.lockFlags, c.reserved.lockFlags) << c.position << "+" << c.count;
    }
}
