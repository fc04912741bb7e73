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

TEST(Matrix44Rotations, RotateRowsKeepsTheTranslationAndRotateAxisTurnsIt)
{
    Matrix44 rows = RotationTranslation({0, 1, 0}, 0.0f, {1, 2, 3});
    rows.RotateRowsAboutAxis({0, 0, 1}, kPi / 2);
    EXPECT_TRUE(NearMatrix(rows, RotationTranslation({0, 0, 1}, kPi / 2, {1, 2, 3})));

    // The new rotation follows the matrix's own: x -> z by the first, then z stays under a turn about z.
    Matrix44 both = RotationTranslation({0, 1, 0}, kPi / 2, {0, 0, 0});
    both.RotateRowsAboutAxis({0, 0, 1}, kPi / 2);
    EXPECT_TRUE(NearVec(Vec3::TransformDirection({1, 0, 0}, both), {0, 0, -1}));
    EXPECT_TRUE(NearVec(Vec3::TransformDirection({0, 0, 1}, both), {0, 1, 0}));

    Matrix44 full = RotationTranslation({0, 1, 0}, 0.0f, {1, 0, 0});
    full.RotateAxis({0, 0, 1}, kPi / 2);
    EXPECT_TRUE(NearVec(full.GetRow(3), {0, 1, 0}));
    EXPECT_TRUE(NearVec(full.GetRow(0), {0, 1, 0}));
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
    const BoundingBox box{{1, 0, 0}, {1, 2, 3}};
    const BoundingBox turned = BoundingBox::Transform(box, RotationTranslation({0, 1, 0}, kPi / 2, {0, 10, 0}));
    EXPECT_TRUE(NearVec(turned.centre, {0, 10, -1}));
    EXPECT_TRUE(NearVec(turned.halfExtents, {3, 2, 1}));

    const BoundingBox diagonal =
        BoundingBox::Transform({{0, 0, 0}, {1, 1, 1}}, RotationTranslation({0, 1, 0}, kPi / 4, {}));
    EXPECT_TRUE(NearVec(diagonal.halfExtents, {1.4142135f, 1, 1.4142135f}));
}
