#pragma once
// A rotation as (x, y, z, w) with w the scalar part. Operations that turn a
// quaternion into a matrix expect unit length.

struct Matrix44;
struct Vec3;

struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    // The rotation of angle radians about the axis, taken as given (callers
    // pass unit axes).
    static Quaternion FromAxisAngle(const Vec3& axis, float angle);
    // Fills the rotation rows 0 to 2 of out (fourth elements 0) and leaves its
    // translation row as it was.
    static void ToMatrix(const Quaternion& q, Matrix44& out);
    // The rotation of the matrix's upper 3 x 3.
    static Quaternion FromMatrix(const Matrix44& m);
    // Spherical interpolation along the shorter arc, t clamped to [0, 1],
    // scaled back to unit length.
    static Quaternion Slerp(const Quaternion& q0, const Quaternion& q1, float t);
    // The Hamilton product a b.
    static Quaternion Multiply(const Quaternion& a, const Quaternion& b);
};
