#include "engine/math/BoundingBox.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "tests/engine/math/MathExpect.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

Matrix44 RotationTranslation(const Vec3& axis, float angle, const Vec3& t)
{
    Matrix44 m;
    Quaternion::ToMatrix(Quaternion::FromAxisAngle(axis, angle), m);
    m.SetRow(3, t);
    return m;
}

Matrix44 ScaleMatrix(const Vec3& v)
{
    Matrix44 m;
    m.Scale(v);
    return m;
}

// Fills every element with a distinct value, to see which ones an operation writes.
Matrix44 Marked()
{
    Matrix44 m;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            m.m[r][c] = 100.0f + r * 4 + c;
        }
    }
    return m;
}

} // namespace

TEST(Matrix44Products, ApplyTheLeftMatrixFirstToRowVectors)
{
    const Matrix44 turn = RotationTranslation({0, 0, 1}, kPi / 2, {0, 0, 0});
    const Matrix44 move = RotationTranslation({0, 1, 0}, 0.0f, {5, 0, 0});
    // Turn x onto y, then move by 5 along x.
    EXPECT_TRUE(NearVec(Vec3::TransformPoint({1, 0, 0}, Matrix44::Multiply(turn, move)), {5, 1, 0}));
    EXPECT_TRUE(NearVec(Vec3::TransformPoint({1, 0, 0}, Matrix44::Multiply(move, turn)), {0, 6, 0}));
    EXPECT_TRUE(NearMatrix(Matrix44::Multiply(Marked(), kIdentityMatrix), Marked()));

    Matrix44 out = Marked();
    Matrix44::MultiplyRotation(turn, turn, out);
    Matrix44 expected = RotationTranslation({0, 0, 1}, kPi, {0, 0, 0});
    for (int c = 0; c < 4; ++c) {
        expected.m[3][c] = Marked().m[3][c];   // row 3 is not written
    }
    EXPECT_TRUE(NearMatrix(out, expected));
}

TEST(Matrix44Transpose, SwapsRowsAndColumns)
{
    const Matrix44 m = Marked();
    const Matrix44 t = Matrix44::Transpose(m);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(t.m[r][c], m.m[c][r]);
        }
    }
}

TEST(Matrix44InvertRigid, UndoesTheTransform)
{
    struct Case {
        Vec3 axis;
        float angle;
        Vec3 t;
    };
    for (const Case& c : std::initializer_list<Case>{{{0, 1, 0}, 0.0f, {0, 0, 0}},
                                                     {{0, 1, 0}, 0.0f, {1, -2, 3}},
                                                     {{0, 0, 1}, kPi / 2, {4, 5, 6}},
                                                     {{0.6f, 0.0f, 0.8f}, 2.5f, {-7, 0.5f, 12}}}) {
        const Matrix44 m = RotationTranslation(c.axis, c.angle, c.t);
        const Matrix44 inverse = Matrix44::InvertRigid(m);
        EXPECT_TRUE(NearMatrix(Matrix44::Multiply(inverse, m), kIdentityMatrix));
        EXPECT_TRUE(NearMatrix(Matrix44::Multiply(m, inverse), kIdentityMatrix));
    }
}

TEST(Matrix44InPlaceProducts, PostMultiplyAfterTheMatrixAndPreRotateBefore)
{
    // The start turns x onto y about z, then moves by (1, 2, 3).
    const Matrix44 turned = RotationTranslation({0, 0, 1}, kPi / 2, {1, 2, 3});
    const Matrix44 moved = RotationTranslation({0, 1, 0}, 0.0f, {1, 2, 3});
    struct Case {
        const char* name;
        Matrix44 start;
        void (*change)(Matrix44&);
        Vec3 point, expected;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"PostMultiply by a move", turned,
              [](Matrix44& m) { m.PostMultiply(RotationTranslation({0, 1, 0}, 0.0f, {10, 0, 0})); }, {1, 0, 0},
              {11, 3, 3}},
             {"PostMultiply by a turn about y", turned,
              [](Matrix44& m) { m.PostMultiply(RotationTranslation({0, 1, 0}, kPi / 2, {})); }, {1, 0, 0}, {3, 3, -1}},
             {"Translate after the turn", turned, [](Matrix44& m) { m.Translate({10, 0, 0}); }, {1, 0, 0}, {11, 3, 3}},
             {"Translate the identity", kIdentityMatrix, [](Matrix44& m) { m.Translate({4, 5, 6}); }, {1, 2, 3},
              {5, 7, 9}},
             {"Scale after the turn", turned, [](Matrix44& m) { m.Scale({2, 3, 4}); }, {1, 0, 0}, {2, 9, 12}},
             {"Scale also scales the translation", moved, [](Matrix44& m) { m.Scale({2, 2, 2}); }, {0, 0, 0},
              {2, 4, 6}},
             {"RotateAxis turns the translation too", turned, [](Matrix44& m) { m.RotateAxis({0, 1, 0}, kPi / 2); },
              {0, 1, 0}, {3, 2, 0}},
             {"RotateRowsAboutAxis keeps the translation", turned,
              [](Matrix44& m) { m.RotateRowsAboutAxis({0, 1, 0}, kPi / 2); }, {0, 1, 0}, {1, 2, 4}},
             {"PreRotateAxis turns in the object's own space", turned,
              [](Matrix44& m) { m.PreRotateAxis({0, 1, 0}, kPi / 2); }, {1, 0, 0}, {1, 2, 2}},
             {"PreRotateAxis by a half turn about y", moved, [](Matrix44& m) { m.PreRotateAxis({0, 1, 0}, kPi); },
              {0, 0, 1}, {1, 2, 2}}}) {
        Matrix44 m = c.start;
        c.change(m);
        EXPECT_TRUE(NearVec(Vec3::TransformPoint(c.point, m), c.expected)) << c.name;
        EXPECT_TRUE(NearVec({m.m[0][3], m.m[1][3], m.m[2][3]}, kZeroVector)) << c.name;
        EXPECT_NEAR(m.m[3][3], 1.0f, kMathTolerance) << c.name;
    }
}

TEST(Matrix44TransposeRotation, TransposesTheRotationRowsAndLeavesRowThree)
{
    for (const Matrix44& source : {Marked(), RotationTranslation({0.6f, 0.0f, 0.8f}, 2.5f, {-7, 0.5f, 12})}) {
        Matrix44 expected = Marked();   // row 3 as it was in out
        for (int r = 0; r < 3; ++r) {
            expected.SetRow(r, {source.m[0][r], source.m[1][r], source.m[2][r]});
            expected.m[r][3] = 0.0f;
        }
        Matrix44 out = Marked();
        Matrix44::TransposeRotation(source, out);
        EXPECT_TRUE(NearMatrix(out, expected));

        // In place: the source's own row 3 stays.
        Matrix44 inPlace = source;
        Matrix44::TransposeRotation(inPlace, inPlace);
        for (int c = 0; c < 4; ++c) {
            expected.m[3][c] = source.m[3][c];
        }
        EXPECT_TRUE(NearMatrix(inPlace, expected));
    }
}

TEST(Matrix44FromAxisAngleTranslation, TurnsAboutTheAxisThenMoves)
{
    struct Case {
        Vec3 axis;
        float angle;
        Vec3 t, point, expected;
    };
    for (const Case& c : std::initializer_list<Case>{{{0, 0, 1}, kPi / 2, {1, 2, 3}, {1, 0, 0}, {1, 3, 3}},
                                                     {{0, 1, 0}, 0.0f, {0, 0, 0}, {4, 5, 6}, {4, 5, 6}},
                                                     {{1, 0, 0}, kPi, {0, 0, -5}, {0, 1, 0}, {0, -1, -5}},
                                                     {{0, 1, 0}, -kPi / 2, {0, 0, 0}, {1, 0, 0}, {0, 0, 1}}}) {
        const Matrix44 m = Matrix44::FromAxisAngleTranslation(c.axis, c.angle, c.t);
        EXPECT_TRUE(NearVec(Vec3::TransformPoint(c.point, m), c.expected));
        EXPECT_TRUE(NearVec(m.GetRow(3), c.t));
        EXPECT_TRUE(NearVec({m.m[0][3], m.m[1][3], m.m[2][3]}, kZeroVector));
        EXPECT_EQ(m.m[3][3], 1.0f);
    }
}

TEST(Matrix44Bases, WriteOnlyTheNineRotationElements)
{
    Matrix44 m = Marked();
    m.FromForward({0, 0, 1});
    Matrix44 expected = Marked();
    expected.SetRow(0, {1, 0, 0});
    expected.SetRow(1, {0, 1, 0});
    expected.SetRow(2, {0, 0, 1});
    EXPECT_TRUE(NearMatrix(m, expected));

    Matrix44 tilted;
    Vec3 forward{1, 0, 1};
    forward.Normalize();
    tilted.FromForwardUp(forward, {0, 1, 0});
    EXPECT_TRUE(NearVec(tilted.GetRow(2), forward));
    EXPECT_TRUE(NearVec(tilted.GetRow(1), {0, 1, 0}));
    EXPECT_TRUE(NearVec(tilted.GetRow(0), Vec3::Cross(tilted.GetRow(1), tilted.GetRow(2))));

    // Up is kept as given; forward is made perpendicular to it.
    Matrix44 standing;
    standing.FromUpForward({0, 0.5f, 1}, {0, 1, 0});
    EXPECT_TRUE(NearVec(standing.GetRow(1), {0, 1, 0}));
    EXPECT_TRUE(NearVec(standing.GetRow(2), {0, 0, 1}));
    EXPECT_TRUE(NearVec(standing.GetRow(0), {1, 0, 0}));
}

TEST(Matrix44FromRotationTranslation, CopiesTheRowsAndSetsTheTranslation)
{
    const Matrix44 m = Matrix44::FromRotationTranslation(Marked(), {7, 8, 9});
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(m.m[r][c], Marked().m[r][c]);
        }
    }
    EXPECT_TRUE(NearVec(m.GetRow(3), {7, 8, 9}));
    EXPECT_EQ(m.m[3][3], 1.0f);
}

TEST(BoundingBoxTransform, MovesTheCentreAndWidensTurnedExtents)
{
    struct Case {
        const char* name;
        BoundingBox box;
        Matrix44 m;
        BoundingBox expected;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"identity", {{1, 2, 3}, {4, 5, 6}}, kIdentityMatrix, {{1, 2, 3}, {4, 5, 6}}},
             {"quarter turn and lift",
              {{1, 0, 0}, {1, 2, 3}},
              RotationTranslation({0, 1, 0}, kPi / 2, {0, 10, 0}),
              {{0, 10, -1}, {3, 2, 1}}},
             {"eighth turn",
              {{0, 0, 0}, {1, 1, 1}},
              RotationTranslation({0, 1, 0}, kPi / 4, {}),
              {{0, 0, 0}, {1.4142135f, 1, 1.4142135f}}},
             {"negative scale keeps extents positive",
              {{1, 1, 1}, {1, 2, 3}},
              ScaleMatrix({-2, 1, -1}),
              {{-2, 1, -1}, {2, 2, 3}}}}) {
        const BoundingBox out = BoundingBox::Transform(c.box, c.m);
        EXPECT_TRUE(NearVec(out.centre, c.expected.centre)) << c.name;
        EXPECT_TRUE(NearVec(out.halfExtents, c.expected.halfExtents)) << c.name;
    }
}
