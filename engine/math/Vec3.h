#pragma once
// A point, direction or set of extents in the game's space (y is up).
// Operations return new vectors except Normalize and AddInPlace, which work in
// place.

struct Matrix44;

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    float Length() const;
    // A vector of length exactly 0 becomes kDefaultDirection, so a direction
    // made from a degenerate difference is still usable.
    void Normalize();
    void AddInPlace(const Vec3& v);

    static Vec3 Add(const Vec3& a, const Vec3& b);
    static Vec3 Subtract(const Vec3& a, const Vec3& b);
    static Vec3 Scale(const Vec3& v, float s);
    // v x (1 / s): one reciprocal and three multiplications, which can round
    // differently from three divisions.
    static Vec3 DivideByScalar(const Vec3& v, float s);
    static Vec3 Negated(const Vec3& v);
    static float Dot(const Vec3& a, const Vec3& b);
    static Vec3 Cross(const Vec3& a, const Vec3& b);
    // v x M as a row vector, with the translation row and no division by the
    // fourth column.
    static Vec3 TransformPoint(const Vec3& v, const Matrix44& m);
    // v x M through the rotation rows only.
    static Vec3 TransformDirection(const Vec3& v, const Matrix44& m);
};

inline constexpr Vec3 kZeroVector{0.0f, 0.0f, 0.0f};
inline constexpr Vec3 kWorldUp{0.0f, 1.0f, 0.0f};
// What normalising a zero vector gives.
inline constexpr Vec3 kDefaultDirection{0.0f, 0.0f, 1.0f};

inline Vec3 operator+(const Vec3& a, const Vec3& b)
{
    return Vec3::Add(a, b);
}

inline Vec3 operator-(const Vec3& a, const Vec3& b)
{
    return Vec3::Subtract(a, b);
}

inline Vec3 operator-(const Vec3& v)
{
    return Vec3::Negated(v);
}

inline Vec3 operator*(const Vec3& v, float s)
{
    return Vec3::Scale(v, s);
}

// Component-wise a + t (b - a) with t clamped to [0, 1].
Vec3 LerpVec3(const Vec3& a, const Vec3& b, float t);

// For a unit normal n, two unit vectors that make an orthonormal basis with
// it: a is perpendicular to n, and b = n x a. The branch keeps the square root
// away from zero.
void MakePerpendicularAxes(const Vec3& n, Vec3& b, Vec3& a);
