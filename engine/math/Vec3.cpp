#include "engine/math/Vec3.h"

#include "engine/math/Matrix44.h"
#include "engine/math/Scalar.h"

#include <cmath>

float Vec3::Length() const
{
    return std::sqrt(x * x + y * y + z * z);
}

void Vec3::Normalize()
{
    const float length = Length();
    if (length == 0.0f) {
        *this = kDefaultDirection;
        return;
    }
    const float inverse = 1.0f / length;
    x *= inverse;
    y *= inverse;
    z *= inverse;
}

void Vec3::AddInPlace(const Vec3& v)
{
    *this = Add(*this, v);
}

Vec3 Vec3::Add(const Vec3& a, const Vec3& b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Vec3 Vec3::Subtract(const Vec3& a, const Vec3& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vec3 Vec3::Scale(const Vec3& v, float s)
{
    return {v.x * s, v.y * s, v.z * s};
}

Vec3 Vec3::DivideByScalar(const Vec3& v, float s)
{
    return Scale(v, 1.0f / s);
}

Vec3 Vec3::Negated(const Vec3& v)
{
    return {-v.x, -v.y, -v.z};
}

float Vec3::Dot(const Vec3& a, const Vec3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 Vec3::Cross(const Vec3& a, const Vec3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 Vec3::TransformPoint(const Vec3& v, const Matrix44& m)
{
    Vec3 out = TransformDirection(v, m);
    out.x += m.m[3][0];
    out.y += m.m[3][1];
    out.z += m.m[3][2];
    return out;
}

Vec3 Vec3::TransformDirection(const Vec3& v, const Matrix44& m)
{
    return {v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0],
            v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1],
            v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2]};
}

Vec3 LerpVec3(const Vec3& a, const Vec3& b, float t)
{
    const float clamped = Clamp01(t);
    return {a.x + clamped * (b.x - a.x), a.y + clamped * (b.y - a.y), a.z + clamped * (b.z - a.z)};
}

void MakePerpendicularAxes(const Vec3& n, Vec3& b, Vec3& a)
{
    if (std::fabs(n.z) > 0.70710677f) {
        const float s = n.y * n.y + n.z * n.z;
        const float k = 1.0f / std::sqrt(s);
        a = {0.0f, -n.z * k, n.y * k};
        b = {s * k, -n.x * a.z, n.x * a.y};
        return;
    }
    const float s = n.x * n.x + n.y * n.y;
    const float k = 1.0f / std::sqrt(s);
    a = {-n.y * k, n.x * k, 0.0f};
    b = {-n.z * a.y, n.z * a.x, s * k};
}
