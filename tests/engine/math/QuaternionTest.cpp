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

Matrix44 RotationRows(const Vec3& row0, const Vec3& row1, const Vec3& row2)
{
    Matrix44 m;
    m.SetRow(0, row0);
    m.SetRow(1, row1);
    m.SetRow(2, row2);
    return m;
}

// Component by component: for results where the sign matters, not only the
// rotation.
testing::AssertionResult NearQuaternion(const Quaternion& actual, const Quaternion& expected)
{
    if (std::fabs(actual.x - expected.x) <= kMathTolerance && std::fabs(actual.y - expected.y) <= kMathTolerance &&
        std::fabs(actual.z - expected.z) <= kMathTolerance && std::fabs(actual.w - expected.w) <= kMathTolerance) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z << ", " << actual.w
                                       << ") is not (" << expected.x << ", " << expected.y << ", " << expected.z
                                       << ", " << expected.w << ")";
}

const Quaternion kQuarterTurnY = Quaternion::FromAxisAngle({0, 1, 0}, kPi / 2);   // z -> x, x -> -z
const Quaternion kQuarterTurnZ = Quaternion::FromAxisAngle({0, 0, 1}, kPi / 2);   // x -> y, y -> -x

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

TEST(QuaternionFromMatrix, PicksTheBranchByTraceThenLargestDiagonal)
{
    // Each branch fixes the sign of its own component as positive, so the
    // exact result shows which branch ran.
    struct Case {
        const char* name;
        Matrix44 m;
        Quaternion expected;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"identity", kIdentityMatrix, {0, 0, 0, 1}},
             {"half turn about y, trace -1: y branch", RotationRows({-1, 0, 0}, {0, 1, 0}, {0, 0, -1}), {0, 1, 0, 0}},
             {"half turn about x: x branch", RotationRows({1, 0, 0}, {0, -1, 0}, {0, 0, -1}), {1, 0, 0, 0}},
             {"half turn about z: z branch", RotationRows({-1, 0, 0}, {0, -1, 0}, {0, 0, 1}), {0, 0, 1, 0}},
             // A third turn backwards about (1, 1, 1): trace exactly 0 still
             // takes the w branch, so w comes out positive.
             {"trace 0: w branch", RotationRows({0, 0, 1}, {1, 0, 0}, {0, 1, 0}), {-0.5f, -0.5f, -0.5f, 0.5f}}}) {
        EXPECT_TRUE(NearQuaternion(Quaternion::FromMatrix(c.m), c.expected)) << c.name;
    }
}

TEST(QuaternionToTransform, GivesTheRotationRowsAndNoTranslation)
{
    struct Case {
        const char* name;
        Quaternion q;
        Matrix44 expected;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"identity", {}, kIdentityMatrix},
             {"quarter turn about z", kQuarterTurnZ, RotationRows({0, 1, 0}, {-1, 0, 0}, {0, 0, 1})},
             {"half turn about x", {1, 0, 0, 0}, RotationRows({1, 0, 0}, {0, -1, 0}, {0, 0, -1})}}) {
        EXPECT_TRUE(NearMatrix(Quaternion::ToTransform(c.q), c.expected)) << c.name;
    }
}

TEST(QuaternionNormalize, ScalesToUnitLengthAndTurnsZeroIntoTheIdentity)
{
    struct Case {
        Quaternion in, expected;
    };
    for (const Case& c : std::initializer_list<Case>{{{0, 0, 0, 0}, {0, 0, 0, 1}},
                                                     {{-0.0f, 0, 0, -0.0f}, {0, 0, 0, 1}},
                                                     {{0, 0, 0, 2}, {0, 0, 0, 1}},
                                                     {{1, 1, 1, 1}, {0.5f, 0.5f, 0.5f, 0.5f}},
                                                     {{0, -3, 0, 4}, {0, -0.6f, 0, 0.8f}},
                                                     {{0, 0, -1e-3f, 0}, {0, 0, -1, 0}}}) {
        Quaternion q = c.in;
        q.Normalize();
        EXPECT_TRUE(NearQuaternion(q, c.expected)) << c.in.x << ", " << c.in.y << ", " << c.in.z << ", " << c.in.w;
    }
}

TEST(QuaternionConjugate, NegatesTheAxisAndUndoesAUnitRotation)
{
    struct Case {
        Quaternion q, expected;
    };
    for (const Case& c : std::initializer_list<Case>{{{}, {}},
                                                     {{1, 2, 3, 4}, {-1, -2, -3, 4}},
                                                     {kQuarterTurnY, {0, -kQuarterTurnY.y, 0, kQuarterTurnY.w}}}) {
        const Quaternion conjugate = Quaternion::Conjugate(c.q);
        EXPECT_TRUE(NearQuaternion(conjugate, c.expected));
    }
    const Quaternion q = Quaternion::FromAxisAngle({0.6f, 0.0f, 0.8f}, 1.1f);
    EXPECT_TRUE(NearQuaternion(Quaternion::Multiply(q, Quaternion::Conjugate(q)), Quaternion{}));
    EXPECT_TRUE(NearVec(Rotate(Quaternion::Conjugate(kQuarterTurnY), {1, 0, 0}), {0, 0, 1}));
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

TEST(QuaternionMultiply, TurnsByTheFirstThenTheSecond)
{
    const Quaternion i{1, 0, 0, 0};
    const Quaternion j{0, 1, 0, 0};
    const Quaternion k{0, 0, 1, 0};
    const Quaternion q = Quaternion::FromAxisAngle({0.6f, 0.0f, 0.8f}, 1.1f);
    struct Case {
        const char* name;
        Quaternion a, b, expected;
    };
    // a x b is the Hamilton product b a.
    for (const Case& c : std::initializer_list<Case>{{"i x j", i, j, {0, 0, -1, 0}},
                                                     {"j x i", j, i, k},
                                                     {"k x k", k, k, {0, 0, 0, -1}},
                                                     {"identity x q", {}, q, q},
                                                     {"q x identity", q, {}, q},
                                                     {"general", {1, 2, 3, 4}, {5, 6, 7, 8}, {32, 32, 56, -6}}}) {
        EXPECT_TRUE(NearQuaternion(Quaternion::Multiply(c.a, c.b), c.expected)) << c.name;
    }
}

TEST(QuaternionMultiply, MatchesTheProductOfTheMatrices)
{
    const Quaternion oblique = Quaternion::FromAxisAngle({0.6f, 0.0f, 0.8f}, 1.1f);
    struct Case {
        Quaternion a, b;
    };
    for (const Case& c : std::initializer_list<Case>{
             {kQuarterTurnY, kQuarterTurnZ}, {kQuarterTurnZ, kQuarterTurnY}, {oblique, kQuarterTurnY}}) {
        EXPECT_TRUE(NearMatrix(Quaternion::ToTransform(Quaternion::Multiply(c.a, c.b)),
                               Matrix44::Multiply(Quaternion::ToTransform(c.a), Quaternion::ToTransform(c.b))));
    }
    // Two quarter turns about one axis make a half turn.
    EXPECT_TRUE(
        SameRotation(Quaternion::Multiply(kQuarterTurnZ, kQuarterTurnZ), Quaternion::FromAxisAngle({0, 0, 1}, kPi)));
}

TEST(QuaternionTurns, ApplyComesAfterThePresentTurnAndRotateBefore)
{
    // Each starts from a quarter turn and says where one vector ends up.
    struct Case {
        const char* name;
        Quaternion start;
        void (*turn)(Quaternion&);
        Vec3 in, expected;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"ApplyAxisAngle z after y", kQuarterTurnY, [](Quaternion& q) { q.ApplyAxisAngle({0, 0, 1}, kPi / 2); },
              {0, 0, 1}, {0, 1, 0}},
             {"ApplyRotationZ after y", kQuarterTurnY, [](Quaternion& q) { q.ApplyRotationZ(kPi / 2); }, {0, 0, 1},
              {0, 1, 0}},
             {"ApplyRotationY after z", kQuarterTurnZ, [](Quaternion& q) { q.ApplyRotationY(kPi / 2); }, {1, 0, 0},
              {0, 1, 0}},
             {"ApplyRotationNegX after y", kQuarterTurnY, [](Quaternion& q) { q.ApplyRotationNegX(kPi / 2); },
              {0, 0, 1}, {1, 0, 0}},
             {"ApplyRotationNegX turns y to -z", {}, [](Quaternion& q) { q.ApplyRotationNegX(kPi / 2); }, {0, 1, 0},
              {0, 0, -1}},
             {"RotateAxis z before y", kQuarterTurnY, [](Quaternion& q) { q.RotateAxis({0, 0, 1}, kPi / 2); },
              {0, 0, 1}, {1, 0, 0}},
             {"RotateAxisAngle z before y", kQuarterTurnY,
              [](Quaternion& q) { q.RotateAxisAngle({0, 0, 1}, kPi / 2); }, {0, 1, 0}, {0, 0, 1}},
             {"RotateY before z", kQuarterTurnZ, [](Quaternion& q) { q.RotateY(kPi / 2); }, {1, 0, 0}, {0, 0, -1}}}) {
        Quaternion q = c.start;
        c.turn(q);
        EXPECT_TRUE(NearVec(Rotate(q, c.in), c.expected)) << c.name;
    }
}

TEST(QuaternionTurns, OnTheIdentityGiveTheRotationItself)
{
    struct Case {
        Vec3 axis;
        float angle;
    };
    for (const Case& c :
         std::initializer_list<Case>{{{0, 1, 0}, 0.7f}, {{0.6f, 0.0f, 0.8f}, -2.0f}, {{1, 0, 0}, kPi}}) {
        const Quaternion expected = Quaternion::FromAxisAngle(c.axis, c.angle);
        Quaternion applied;
        applied.ApplyAxisAngle(c.axis, c.angle);
        Quaternion rotated;
        rotated.RotateAxis(c.axis, c.angle);
        EXPECT_TRUE(NearQuaternion(applied, expected));
        EXPECT_TRUE(NearQuaternion(rotated, expected));
    }
}

TEST(QuaternionTurns, ApplyRotationZBackAndForthRestoresTheQuaternion)
{
    const Quaternion start = Quaternion::FromAxisAngle({0.6f, 0.0f, 0.8f}, 1.1f);
    for (const float angle : {0.0f, 0.3f, -1.2f, kPi, 5.0f}) {
        Quaternion q = start;
        q.ApplyRotationZ(angle);
        q.ApplyRotationZ(-angle);
        EXPECT_TRUE(NearQuaternion(q, start)) << angle;
    }
}

TEST(QuaternionTurns, RotateAxisAngleKeepsTheLengthItWasGiven)
{
    // A half turn about y before a quaternion that is not unit length: the
    // Hamilton product q (0, 1, 0, 0), with no normalisation.
    Quaternion q{1, 2, 3, 4};
    q.RotateAxisAngle({0, 1, 0}, kPi);
    EXPECT_TRUE(NearQuaternion(q, {-3, 4, 1, -2}));
}
