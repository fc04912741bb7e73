#include "engine/math/Quaternion.h"

#include "engine/math/Matrix44.h"
#include "engine/math/Scalar.h"
#include "engine/math/Vec3.h"

#include <cmath>

namespace {

// Below this angle between the ends the sines vanish, and a straight blend is
// as good as the arc.
constexpr float kSlerpLinearThreshold = 0.001f;

} // namespace

void Quaternion::Normalize()
{
    const float length = std::sqrt(x * x + y * y + z * z + w * w);
    if (length == 0.0f) {
        *this = Quaternion{};
        return;
    }
    const float inverse = 1.0f / length;
    x *= inverse;
    y *= inverse;
    z *= inverse;
    w *= inverse;
}

void Quaternion::ApplyAxisAngle(const Vec3& axis, float angle)
{
    *this = Multiply(*this, FromAxisAngle(axis, angle));
}

void Quaternion::ApplyRotationY(float angle)
{
    ApplyAxisAngle({0.0f, 1.0f, 0.0f}, angle);
}

void Quaternion::ApplyRotationZ(float angle)
{
    ApplyAxisAngle({0.0f, 0.0f, 1.0f}, angle);
}

void Quaternion::ApplyRotationNegX(float angle)
{
    ApplyAxisAngle({-1.0f, 0.0f, 0.0f}, angle);
}

void Quaternion::RotateAxis(const Vec3& axis, float angle)
{
    *this = Multiply(FromAxisAngle(axis, angle), *this);
}

void Quaternion::RotateY(float angle)
{
    RotateAxis({0.0f, 1.0f, 0.0f}, angle);
}

Quaternion Quaternion::FromAxisAngle(const Vec3& axis, float angle)
{
    const float s = std::sin(angle * 0.5f);
    return {axis.x * s, axis.y * s, axis.z * s, std::cos(angle * 0.5f)};
}

Quaternion Quaternion::Conjugate(const Quaternion& q)
{
    return {-q.x, -q.y, -q.z, q.w};
}

void Quaternion::ToMatrix(const Quaternion& q, Matrix44& out)
{
    const float x = q.x;
    const float y = q.y;
    const float z = q.z;
    const float w = q.w;
    out.m[0][0] = 1.0f - 2.0f * y * y - 2.0f * z * z;
    out.m[0][1] = 2.0f * (x * y + w * z);
    out.m[0][2] = 2.0f * (x * z - w * y);
    out.m[0][3] = 0.0f;
    out.m[1][0] = 2.0f * (x * y - w * z);
    out.m[1][1] = 1.0f - 2.0f * x * x - 2.0f * z * z;
    out.m[1][2] = 2.0f * (y * z + w * x);
    out.m[1][3] = 0.0f;
    out.m[2][0] = 2.0f * (x * z + w * y);
    out.m[2][1] = 2.0f * (y * z - w * x);
    out.m[2][2] = 1.0f - 2.0f * x * x - 2.0f * y * y;
    out.m[2][3] = 0.0f;
}

Matrix44 Quaternion::ToTransform(const Quaternion& q)
{
    Matrix44 out;
    ToMatrix(q, out);
    return out;
}

Quaternion Quaternion::FromMatrix(const Matrix44& matrix)
{
    const auto& m = matrix.m;
    const float trace = m[0][0] + m[1][1] + m[2][2];
    if (trace >= 0.0f) {
        const float root = std::sqrt(trace + 1.0f);
        const float s = 0.5f / root;
        return {(m[1][2] - m[2][1]) * s, (m[2][0] - m[0][2]) * s, (m[0][1] - m[1][0]) * s, root * 0.5f};
    }
    // The largest diagonal element gives the component furthest from zero,
    // which keeps the division well away from it.
    if (m[1][1] > m[0][0] && m[1][1] >= m[2][2]) {
        const float root = std::sqrt(m[1][1] - m[0][0] - m[2][2] + 1.0f);
        const float s = 0.5f / root;
        return {(m[0][1] + m[1][0]) * s, root * 0.5f, (m[1][2] + m[2][1]) * s, (m[2][0] - m[0][2]) * s};
    }
    if (m[2][2] > m[0][0] && m[2][2] > m[1][1]) {
        const float root = std::sqrt(m[2][2] - m[0][0] - m[1][1] + 1.0f);
        const float s = 0.5f / root;
        return {(m[2][0] + m[0][2]) * s, (m[1][2] + m[2][1]) * s, root * 0.5f, (m[0][1] - m[1][0]) * s};
    }
    const float root = std::sqrt(m[0][0] - m[1][1] - m[2][2] + 1.0f);
    const float s = 0.5f / root;
    return {root * 0.5f, (m[0][1] + m[1][0]) * s, (m[2][0] + m[0][2]) * s, (m[1][2] - m[2][1]) * s};
}

Quaternion Quaternion::Slerp(const Quaternion& q0, const Quaternion& q1, float t)
{
    t = Clamp01(t);
    float cosine = q0.x * q1.x + q0.y * q1.y + q0.z * q1.z + q0.w * q1.w;
    // q and -q are the same rotation: go the short way round.
    float sign = 1.0f;
    if (cosine < 0.0f) {
        cosine = -cosine;
        sign = -1.0f;
    }
    float from = 1.0f - t;
    float to = t;
    if (1.0f - cosine > kSlerpLinearThreshold) {
        const float angle = std::acos(cosine);
        const float sine = std::sin(angle);
        from = std::sin(angle * (1.0f - t)) / sine;
        to = std::sin(angle * t) / sine;
    }
    to *= sign;
    Quaternion out{from * q0.x + to * q1.x, from * q0.y + to * q1.y, from * q0.z + to * q1.z,
                   from * q0.w + to * q1.w};
    out.Normalize();
    return out;
}

Quaternion Quaternion::Multiply(const Quaternion& a, const Quaternion& b)
{
    return {a.x * b.w + a.w * b.x + a.z * b.y - a.y * b.z,
            a.y * b.w + a.x * b.z + a.w * b.y - a.z * b.x,
            a.z * b.w + a.y * b.x - a.x * b.y + a.w * b.z,
            a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}
