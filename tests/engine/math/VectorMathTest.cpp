#include "engine/math/Scalar.h"
#include "engine/math/Vec3.h"
#include "tests/engine/math/MathExpect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

Vec3 AddedInPlace(Vec3 v, const Vec3& added)
{
    v.AddInPlace(added);
    return v;
}

} // namespace

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

TEST(ScalarFunctions, MaxRefRefersToTheFirstOnTiesAndWhenUnordered)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float a, b;
        bool first;
    };
    for (const Case& c : std::initializer_list<Case>{{3.0f, 2.0f, true},
                                                     {2.0f, 3.0f, false},
                                                     {-1.0f, -4.0f, true},
                                                     {2.0f, 2.0f, true},
                                                     {0.0f, -0.0f, true},
                                                     {-0.0f, 0.0f, true},
                                                     {nan, 1.0f, true},
                                                     {1.0f, nan, true}}) {
        const float& larger = MaxRef(c.a, c.b);
        EXPECT_EQ(&larger, c.first ? &c.a : &c.b) << c.a << ", " << c.b;
    }
}

TEST(ScalarFunctions, LerpStaysBetweenItsEnds)
{
    EXPECT_EQ(Lerp(2.0f, 6.0f, -3.0f), 2.0f);
    EXPECT_EQ(Lerp(2.0f, 6.0f, 7.0f), 6.0f);
    EXPECT_EQ(Lerp(2.0f, 6.0f, 0.25f), 3.0f);
}

TEST(LerpVec3, ClampsTheFactorToTheSegment)
{
    const Vec3 a{1, 1, 1};
    const Vec3 b{2, 4, 6};
    struct Case {
        float t;
        Vec3 expected;
    };
    for (const Case& c : std::initializer_list<Case>{{1.5f, b},
                                                     {-2.0f, a},
                                                     {0.0f, a},
                                                     {1.0f, b},
                                                     {0.5f, {1.5f, 2.5f, 3.5f}},
                                                     {0.25f, {1.25f, 1.75f, 2.25f}}}) {
        EXPECT_TRUE(NearVec(LerpVec3(a, b, c.t), c.expected)) << "t = " << c.t;
    }
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

TEST(Vec3Operations, ComputeComponentWiseAndRightHandedResults)
{
    struct Case {
        const char* name;
        Vec3 actual;
        Vec3 expected;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"AddInPlace", AddedInPlace({1, 2, 3}, {-3, 0.5f, 1}), {-2, 2.5f, 4}},
             {"AddInPlace of zero", AddedInPlace({1, 2, 3}, kZeroVector), {1, 2, 3}},
             {"Add", Vec3::Add({1, 2, 3}, {3, 2, 1}), {4, 4, 4}},
             {"Subtract", Vec3::Subtract({1, 2, 3}, {4, -5, 6}), {-3, 7, -3}},
             {"Subtract from itself", Vec3::Subtract({1, 2, 3}, {1, 2, 3}), kZeroVector},
             {"Scale", Vec3::Scale({1, -2, 3}, 2.0f), {2, -4, 6}},
             {"DivideByScalar", Vec3::DivideByScalar({2, -4, 6}, 2.0f), {1, -2, 3}},
             {"DivideByScalar by a negative fraction", Vec3::DivideByScalar({1, 2, 3}, -0.5f), {-2, -4, -6}},
             {"Negated", Vec3::Negated({1, -2, 0}), {-1, 2, 0}},
             {"Cross x y", Vec3::Cross({1, 0, 0}, {0, 1, 0}), {0, 0, 1}},
             {"Cross z x", Vec3::Cross({0, 0, 1}, {1, 0, 0}), {0, 1, 0}},
             {"Cross y x", Vec3::Cross({0, 1, 0}, {1, 0, 0}), {0, 0, -1}},
             {"Cross general", Vec3::Cross({1, 2, 3}, {4, 5, 6}), {-3, 6, -3}},
             {"Cross of parallel vectors", Vec3::Cross({1, 2, 3}, {2, 4, 6}), kZeroVector}}) {
        EXPECT_TRUE(NearVec(c.actual, c.expected)) << c.name;
    }
    EXPECT_EQ(Vec3::Dot({1, 2, 3}, {4, -5, 6}), 12.0f);
    EXPECT_FLOAT_EQ((Vec3{2, 3, 6}.Length()), 7.0f);
}

TEST(Vec3Operations, DivideByScalarMultipliesByTheReciprocal)
{
    // 5 / 3 rounds to 1.66666663; 5 x (1 / 3) to 1.66666675. Every caller must
    // get the same bits, so the reciprocal form is the one kept.
    const Vec3 v = Vec3::DivideByScalar({5, 7, 10}, 3.0f);
    EXPECT_EQ(v.x, 1.66666675f);
    EXPECT_EQ(v.y, 2.33333349f);
    EXPECT_EQ(v.z, 3.33333349f);
}

TEST(Vec3Operations, TransformRowVectorsWithoutPerspectiveDivide)
{
    // Rows: x -> y, y -> -x, z -> z, then move by (10, 20, 30). The fourth
    // column is not 0, 0, 0, 1, and must not matter.
    Matrix44 m;
    m.SetRow(0, {0, 1, 0});
    m.SetRow(1, {-1, 0, 0});
    m.SetRow(3, {10, 20, 30});
    m.m[0][3] = 2.0f;
    m.m[3][3] = 5.0f;
    struct Case {
        Vec3 in, point, direction;
    };
    for (const Case& c : std::initializer_list<Case>{{{1, 2, 3}, {8, 21, 33}, {-2, 1, 3}},
                                                     {{0, 0, 0}, {10, 20, 30}, {0, 0, 0}},
                                                     {{1, 0, 0}, {10, 21, 30}, {0, 1, 0}},
                                                     {{0, 0, -1}, {10, 20, 29}, {0, 0, -1}}}) {
        EXPECT_TRUE(NearVec(Vec3::TransformPoint(c.in, m), c.point)) << c.in.x << ", " << c.in.y << ", " << c.in.z;
        EXPECT_TRUE(NearVec(Vec3::TransformDirection(c.in, m), c.direction))
            << c.in.x << ", " << c.in.y << ", " << c.in.z;
    }
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
