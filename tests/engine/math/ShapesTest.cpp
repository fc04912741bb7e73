#include "engine/math/BoundingBox.h"
#include "engine/math/Color.h"
#include "engine/math/Plane.h"
#include "engine/math/Rect.h"
#include "engine/math/Sphere.h"
#include "tests/engine/math/MathExpect.h"

#include <gtest/gtest.h>

TEST(RectContains, IncludesTheMinEdgesAndExcludesTheMaxEdges)
{
    const Rect rect({10, 20}, {30, 40});
    struct Case {
        Vec2 p;
        bool inside;
    };
    for (const Case& c : std::initializer_list<Case>{{{10, 20}, true},
                                                     {{29.9f, 39.9f}, true},
                                                     {{30, 25}, false},
                                                     {{15, 40}, false},
                                                     {{9.9f, 25}, false}}) {
        EXPECT_EQ(rect.Contains(c.p), c.inside) << c.p.x << ", " << c.p.y;
    }
}

TEST(SphereOverlaps, CountsTouchingSpheres)
{
    EXPECT_TRUE(Sphere::Overlaps({{0, 0, 0}, 1.0f}, {{3, 0, 0}, 2.0f}));
    EXPECT_TRUE(Sphere::Overlaps({{0, 0, 0}, 1.0f}, {{1, 1, 0}, 1.0f}));
    EXPECT_FALSE(Sphere::Overlaps({{0, 0, 0}, 1.0f}, {{3.01f, 0, 0}, 2.0f}));
}

TEST(PlaneFromPointNormal, KeepsTheNormalAndMeasuresTheDistance)
{
    const Plane plane = Plane::FromPointNormal({1, 5, 2}, {0, 2, 0});
    EXPECT_TRUE(NearVec(plane.normal, {0, 2, 0}));
    EXPECT_FLOAT_EQ(plane.distance, 10.0f);
}

TEST(BoundingBoxCorners, FollowTheEdgeListNumbering)
{
    Vec3 corners[8];
    int32_t edges[24];
    BoundingBox::GetCorners({{10, 20, 30}, {1, 2, 3}}, corners, edges);
    EXPECT_TRUE(NearVec(corners[0], {9, 18, 27}));
    EXPECT_TRUE(NearVec(corners[2], {11, 22, 27}));
    EXPECT_TRUE(NearVec(corners[5], {11, 18, 33}));
    EXPECT_TRUE(NearVec(corners[7], {9, 22, 33}));
    // Every edge joins corners that differ along exactly one axis.
    for (int i = 0; i < 24; i += 2) {
        EXPECT_EQ(edges[i], BoxEdgeList[i]);
        const Vec3 d = corners[edges[i]] - corners[edges[i + 1]];
        EXPECT_EQ((d.x != 0) + (d.y != 0) + (d.z != 0), 1) << "edge " << i / 2;
    }
}

TEST(ColorFromRgbBytes, ScalesBytesAndKeepsAlpha)
{
    const Color c = ColorFromRgbBytes(255, 0, 51, 0.25f);
    EXPECT_NEAR(c.r, 1.0f, 1e-6f);
    EXPECT_EQ(c.g, 0.0f);
    EXPECT_NEAR(c.b, 0.2f, 1e-6f);
    EXPECT_EQ(c.a, 0.25f);
}

TEST(ColorFromBytes, ScalesAllFourChannels)
{
    struct Case {
        int32_t r, g, b, a;
        Color expected;
    };
    for (const Case& c : std::initializer_list<Case>{{0, 0, 0, 0, {0, 0, 0, 0}},
                                                     {255, 255, 255, 255, {1, 1, 1, 1}},
                                                     {51, 102, 204, 128, {0.2f, 0.4f, 0.8f, 0.50196081f}}}) {
        const Color color = ColorFromBytes(c.r, c.g, c.b, c.a);
        EXPECT_NEAR(color.r, c.expected.r, 1e-6f) << c.r;
        EXPECT_NEAR(color.g, c.expected.g, 1e-6f) << c.g;
        EXPECT_NEAR(color.b, c.expected.b, 1e-6f) << c.b;
        EXPECT_NEAR(color.a, c.expected.a, 1e-6f) << c.a;
    }
}
