#pragma once
// A rotation as (x, y, z, w) with w the scalar part. Operations that turn a
// quaternion into a matrix expect unit length.
//
// Products follow Direct3D, as matrices do: Multiply(a, b) turns by a, then by
// b (the Hamilton product b a), so the matrix of Multiply(a, b) is the matrix
// of a times the matrix of b. "Apply" operations post-multiply (the new turn
// comes after the present one); "Rotate" operations pre-multiply (the new turn
// comes first, about the object's own axes).

struct Matrix44;
struct Vec3;

struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    // Scales to unit length. A quaternion of length exactly 0 holds no
    // rotation at all and becomes the identity instead of four NaNs.
    void Normalize();

    // this = this x rotation(axis, angle).
    void ApplyAxisAngle(const Vec3& axis, float angle);
    void ApplyRotationY(float angle);
    void ApplyRotationZ(float angle);
    // About (-1, 0, 0).
    void ApplyRotationNegX(float angle);

    // this = rotation(axis, angle) x this.
    void RotateAxis(const Vec3& axis, float angle);
    // The same turn as RotateAxis, under the name the editor's code uses.
    void RotateAxisAngle(const Vec3& axis, float angle) { RotateAxis(axis, angle); }
    void RotateY(float angle);

    // The rotation of angle radians about the axis, taken as given (callers
    // pass unit axes).
    static Quaternion FromAxisAngle(const Vec3& axis, float angle);
    // (-x, -y, -z, w): the inverse of a unit rotation.
    static Quaternion Conjugate(const Quaternion& q);
    // Fills the rotation rows 0 to 2 of out (fourth elements 0) and leaves its
    // translation row as it was.
    static void ToMatrix(const Quaternion& q, Matrix44& out);
    // The rotation rows, with translation (0, 0, 0) and 1 as fourth element of
    // row 3.
    static Matrix44 ToTransform(const Quaternion& q);
    // The rotation of the matrix's upper 3 x 3.
    static Quaternion FromMatrix(const Matrix44& m);
    // Spherical interpolation along the shorter arc, t clamped to [0, 1],
    // scaled back to unit length.
    static Quaternion Slerp(const Quaternion& q0, const Quaternion& q1, float t);
    // a x b: turn by a, then by b.
    static Quaternion Multiply(const Quaternion& a, const Quaternion& b);
};
