#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "tests/engine/math/MathExpect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

Vec3 Rotate(const Quaternion& q, const Vec3& v)
{
    Matrix44 m;
    Quaternion::ToMatrix(q, m);
    return Vec3::TransformDirection(v, m);
}

} // namespace

TEST(QuaternionToMatrix, FillsOnlyTheRotationRows)
{
    Matrix44 m;
    m.SetRow(0, {9, 9, 9});
    m.m[3][0] = 4.0f;
    m.m[3][1] = 5.0f;
    m.m[3][2] = 6.0f;
    m.m[3][3] = 7.0f;
    Quaternion::ToMatrix(Quaternion{}, m);
    Matrix44 expected;
    expected.SetRow(3, {4, 5, 6});
    expected.m[3][3] = 7.0f;
    EXPECT_TRUE(NearMatrix(m, expected));
}

TEST(QuaternionToMatrix, TurnsAsDirect3DDoesForRowVectors)
{
    // A quarter turn about z takes x to y; about y it takes z to x.
    EXPECT_TRUE(NearVec(Rotate(Quaternion::FromAxisAngle({0, 0, 1}, kPi / 2), {1, 0, 0}), {0, 1, 0}));
    EXPECT_TRUE(NearVec(Rotate(Quaternion::FromAxisAngle({0, 1, 0}, kPi / 2), {0, 0, 1}), {1, 0, 0}));
}

TEST(QuaternionFromMatrix, RecoversTheRotationOnEveryBranch)
{
    struct Case {
        const char* name;
        Vec3 axis;
        float angle;
    };
    const float s = 1.0f / std::sqrt(3.0f);
    for (const Case& c : std::initializer_list<Case>{{"identity", {0, 1, 0}, 0.0f},
                                                     {"small turn", {1, 0, 0}, 0.3f},
                                                     {"half turn about x", {1, 0, 0}, kPi},
                                                     {"half turn about y (trace -1)", {0, 1, 0}, kPi},
                                                     {"half turn about z", {0, 0, 1}, kPi},
                                                     {"near half turn, oblique", {s, s, s}, 3.0f},
                                                     {"third turn, trace 0", {s, s, s}, 2.0f * kPi / 3.0f}}) {
        const Quaternion q = Quaternion::FromAxisAngle(c.axis, c.angle);
        Matrix44 m;
        Quaternion::ToMatrix(q, m);
        EXPECT_TRUE(SameRotation(Quaternion::FromMatrix(m), q)) << c.name;
    }
}

TEST(QuaternionFromMatrix, TakesTheYBranchForAHalfTurnAboutY)
{
    Matrix44 m;
    Quaternion::ToMatrix(Quaternion::FromAxisAngle({0, 1, 0}, kPi), m);
    const Quaternion q = Quaternion::FromMatrix(m);
    EXPECT_NEAR(std::fabs(q.y), 1.0f, kMathTolerance);
    EXPECT_NEAR(q.x, 0.0f, kMathTolerance);
    EXPECT_NEAR(q.z, 0.0f, kMathTolerance);
}

TEST(QuaternionSlerp, MeetsItsEndsAndGoesTheShortWay)
{
    const Quaternion from{};
    const Quaternion to = Quaternion::FromAxisAngle({0, 1, 0}, kPi / 2);
    EXPECT_TRUE(SameRotation(Quaternion::Slerp(from, to, 0.0f), from));
    EXPECT_TRUE(SameRotation(Quaternion::Slerp(from, to, 1.0f), to));
    EXPECT_TRUE(SameRotation(Quaternion::Slerp(from, to, -2.0f), from));
    EXPECT_TRUE(SameRotation(Quaternion::Slerp(from, to, 5.0f), to));
    EXPECT_TRUE(SameRotation(Quaternion::Slerp(from, to, 0.5f), Quaternion::FromAxisAngle({0, 1, 0}, kPi / 4)));

    // -to is the same rotation: the middle is still an eighth turn, not the
    // long way round.
    const Quaternion negated{-to.x, -to.y, -to.z, -to.w};
    EXPECT_TRUE(SameRotation(Quaternion::Slerp(from, negated, 0.5f), Quaternion::FromAxisAngle({0, 1, 0}, kPi / 4)));

    // Nearly equal ends blend straight and still come out unit length.
    const Quaternion close = Quaternion::FromAxisAngle({0, 1, 0}, 1e-4f);
    const Quaternion middle = Quaternion::Slerp(from, close, 0.5f);
    EXPECT_NEAR(middle.x * middle.x + middle.y * middle.y + middle.z * middle.z + middle.w * middle.w, 1.0f,
                kMathTolerance);
}

TEST(QuaternionMultiply, IsTheHamiltonProduct)
{
    const Quaternion i{1, 0, 0, 0};
    const Quaternion j{0, 1, 0, 0};
    const Quaternion k{0, 0, 1, 0};
    EXPECT_TRUE(SameRotation(Quaternion::Multiply(i, j), k));
    const Quaternion ji = Quaternion::Multiply(j, i);
    EXPECT_NEAR(ji.z, -1.0f, kMathTolerance);

    const Quaternion q = Quaternion::FromAxisAngle({0.6f, 0.0f, 0.8f}, 1.1f);
    const Quaternion product = Quaternion::Multiply(Quaternion{}, q);
    EXPECT_FLOAT_EQ(product.x, q.x);
    EXPECT_FLOAT_EQ(product.w, q.w);
    EXPECT_TRUE(SameRotation(Quaternion::Multiply(q, Quaternion{-q.x, -q.y, -q.z, q.w}), Quaternion{}));
    // Two quarter turns about one axis make a half turn.
    const Quaternion quarter = Quaternion::FromAxisAngle({0, 0, 1}, kPi / 2);
    EXPECT_TRUE(SameRotation(Quaternion::Multiply(quarter, quarter), Quaternion::FromAxisAngle({0, 0, 1}, kPi)));
}
