#include "engine/math/Scalar.h"
#include "engine/math/Vec3.h"
#include "tests/engine/math/MathExpect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(ScalarFunctions, MinFloatPrefersTheFirstOnTiesAndTheSecondWhenUnordered)
{
    // On a tie the first argument comes back: -0.0 and 0.0 compare equal but
    // keep their sign.
    EXPECT_FALSE(std::signbit(MinFloat(0.0f, -0.0f)));
    EXPECT_TRUE(std::signbit(MinFloat(-0.0f, 0.0f)));
    EXPECT_EQ(MinFloat(2.0f, 2.0f), 2.0f);
    EXPECT_EQ(MinFloat(1.0f, 3.0f), 1.0f);
    EXPECT_EQ(MinFloat(3.0f, 1.0f), 1.0f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(MinFloat(nan, 1.0f), 1.0f);
    EXPECT_TRUE(std::isnan(MinFloat(1.0f, nan)));
}

TEST(ScalarFunctions, ClampTestsTheLowBoundFirst)
{
    struct Case {
        float v, lo, hi, expected;
    };
    for (const Case& c : std::initializer_list<Case>{{-1.0f, 0.0f, 1.0f, 0.0f},
                                                     {2.0f, 0.0f, 1.0f, 1.0f},
                                                     {0.5f, 0.0f, 1.0f, 0.5f},
                                                     // swapped bounds
                                                     {0.0f, 5.0f, 1.0f, 5.0f},
                                                     {7.0f, 5.0f, 1.0f, 1.0f},
                                                     {3.0f, 5.0f, 1.0f, 5.0f},
                                                     {1.0f, 1.0f, 1.0f, 1.0f}}) {
        EXPECT_EQ(Clamp(c.v, c.lo, c.hi), c.expected) << c.v << " in [" << c.lo << ", " << c.hi << "]";
    }
}

TEST(ScalarFunctions, LerpStaysBetweenItsEnds)
{
    EXPECT_EQ(Lerp(2.0f, 6.0f, -3.0f), 2.0f);
    EXPECT_EQ(Lerp(2.0f, 6.0f, 7.0f), 6.0f);
    EXPECT_EQ(Lerp(2.0f, 6.0f, 0.25f), 3.0f);
    EXPECT_TRUE(NearVec(LerpVec3({0, 0, 0}, {2, 4, 6}, 1.5f), {2, 4, 6}));
    EXPECT_TRUE(NearVec(LerpVec3({1, 1, 1}, {2, 4, 6}, -2.0f), {1, 1, 1}));
    EXPECT_TRUE(NearVec(LerpVec3({0, 0, 0}, {2, 4, 6}, 0.5f), {1, 2, 3}));
}

TEST(Vec3Normalize, GivesUnitVectorsAndTheDefaultDirectionForZero)
{
    struct Case {
        Vec3 in, expected;
    };
    for (const Case& c : std::initializer_list<Case>{{{0, 0, 0}, {0, 0, 1}},
                                                     {{0, 0, 1e-30f}, {0, 0, 1}},
                                                     {{3, 0, 4}, {0.6f, 0, 0.8f}},
                                                     {{0, -2, 0}, {0, -1, 0}},
                                                     {{1, 1, 1}, {0.57735027f, 0.57735027f, 0.57735027f}}}) {
        Vec3 v = c.in;
        v.Normalize();
        EXPECT_TRUE(NearVec(v, c.expected)) << c.in.x << ", " << c.in.y << ", " << c.in.z;
    }
}

TEST(Vec3Operations, FollowTheRightHandedCrossAndRowVectorTransforms)
{
    EXPECT_TRUE(NearVec(Vec3::Cross({1, 0, 0}, {0, 1, 0}), {0, 0, 1}));
    EXPECT_TRUE(NearVec(Vec3::Cross({0, 0, 1}, {1, 0, 0}), {0, 1, 0}));
    EXPECT_EQ(Vec3::Dot({1, 2, 3}, {4, -5, 6}), 12.0f);
    EXPECT_FLOAT_EQ((Vec3{2, 3, 6}.Length()), 7.0f);
    EXPECT_TRUE(NearVec(Vec3::Add({1, 2, 3}, Vec3::Negated({3, 2, 1})), {-2, 0, 2}));
    EXPECT_TRUE(NearVec(Vec3::Scale({1, -2, 3}, 2.0f), {2, -4, 6}));

    // Rows: x -> y, y -> -x, z -> z, then move by (10, 20, 30).
    Matrix44 m;
    m.SetRow(0, {0, 1, 0});
    m.SetRow(1, {-1, 0, 0});
    m.SetRow(3, {10, 20, 30});
    EXPECT_TRUE(NearVec(Vec3::TransformDirection({1, 2, 3}, m), {-2, 1, 3}));
    EXPECT_TRUE(NearVec(Vec3::TransformPoint({1, 2, 3}, m), {8, 21, 33}));
}

TEST(PerpendicularAxes, MakeAnOrthonormalBasisWithTheNormal)
{
    struct Case {
        Vec3 n, a, b;
    };
    for (const Case& c : std::initializer_list<Case>{{{0, 0, 1}, {0, -1, 0}, {1, 0, 0}},
                                                     {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
                                                     {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}}) {
        Vec3 a;
        Vec3 b;
        MakePerpendicularAxes(c.n, b, a);
        EXPECT_TRUE(NearVec(a, c.a));
        EXPECT_TRUE(NearVec(b, c.b));
    }
    // Either branch: unit length, mutually perpendicular, b = n x a.
    for (Vec3 n : {Vec3{0.3f, -0.2f, 0.9f}, Vec3{-0.6f, 0.7f, 0.1f}}) {
        n.Normalize();
        Vec3 a;
        Vec3 b;
        MakePerpendicularAxes(n, b, a);
        EXPECT_NEAR(a.Length(), 1.0f, kMathTolerance);
        EXPECT_NEAR(b.Length(), 1.0f, kMathTolerance);
        EXPECT_NEAR(Vec3::Dot(a, n), 0.0f, kMathTolerance);
        EXPECT_NEAR(Vec3::Dot(b, n), 0.0f, kMathTolerance);
        EXPECT_TRUE(NearVec(b, Vec3::Cross(n, a)));
    }
}
