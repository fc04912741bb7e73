#pragma once
// A 4 x 4 matrix in Direct3D's layout, so it goes to the render device as it
// is: row vectors (a point p becomes p x M), rows 0 to 2 the rotation (and any
// scale) with 0 as fourth element, row 3 the translation with 1 as fourth
// element.
//
// Operations that fill only the rotation rows leave the translation row as it
// was; callers rely on that to turn an object in place.
//
// A x B applies A, then B. Post-multiplying (this = this x B) adds a step after
// the matrix, in the parent's space; pre-multiplying (this = B x this) adds one
// before it, in the object's own space.

#include "engine/math/Vec3.h"

struct Matrix44 {
    float m[4][4] = {{1.0f, 0.0f, 0.0f, 0.0f},
                     {0.0f, 1.0f, 0.0f, 0.0f},
                     {0.0f, 0.0f, 1.0f, 0.0f},
                     {0.0f, 0.0f, 0.0f, 1.0f}};

    Vec3 GetRow(int row) const { return {m[row][0], m[row][1], m[row][2]}; }
    // The first three elements of a row; the fourth keeps its value.
    void SetRow(int row, const Vec3& v);

    // a x b.
    static Matrix44 Multiply(const Matrix44& a, const Matrix44& b);
    // Rows 0 to 2 of out = the 3 x 3 product of the rotation rows of a and b,
    // fourth elements 0; row 3 of out is not written. out may be a or b.
    static void MultiplyRotation(const Matrix44& a, const Matrix44& b, Matrix44& out);
    static Matrix44 Transpose(const Matrix44& m);
    // Rows 0 to 2 of out = the transposed 3 x 3 rotation of m, fourth elements
    // 0: the inverse of a pure rotation. Row 3 of out is not written. out may
    // be m.
    static void TransposeRotation(const Matrix44& m, Matrix44& out);
    // The rotation rows of rotation, then (t, 1) as translation row.
    static Matrix44 FromRotationTranslation(const Matrix44& rotation, const Vec3& t);
    // The rotation about a unit axis, then (t, 1) as translation row.
    static Matrix44 FromAxisAngleTranslation(const Vec3& axis, float angle, const Vec3& t);
    // The inverse of a rotation-and-translation matrix: the transposed
    // rotation, translation -(t . row 0, t . row 1, t . row 2).
    static Matrix44 InvertRigid(const Matrix44& m);

    // this = this x b.
    void PostMultiply(const Matrix44& b);
    // this = this x T(v), T the identity with v as translation row.
    void Translate(const Vec3& v);
    // this = this x diag(v.x, v.y, v.z, 1).
    void Scale(const Vec3& v);

    // Turns the rotation rows about the axis (used as given) after the
    // matrix's own rotation; the translation row keeps its values.
    void RotateRowsAboutAxis(const Vec3& axis, float angle);
    // this = this x R(axis, angle), R a pure rotation about a unit axis: the
    // translation turns with it.
    void RotateAxis(const Vec3& axis, float angle);
    // this = R(axis, angle) x this: the object turns about its own axis, in
    // place.
    void PreRotateAxis(const Vec3& axis, float angle);

    // Rotation rows only: row 0 = normalised (up hint x forward), row 1 =
    // forward x row 0, row 2 = forward.
    void FromForwardUp(const Vec3& forward, const Vec3& upHint);
    void FromForward(const Vec3& forward);
    // Rotation rows only: row 0 = normalised (up x forward hint), row 1 = up,
    // row 2 = normalised (row 0 x up). Note the argument order.
    void FromUpForward(const Vec3& forwardHint, const Vec3& up);
};

inline constexpr Matrix44 kIdentityMatrix{};
