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

Quaternion Quaternion::FromAxisAngle(const Vec3& axis, float angle)
{
    const float s = std::sin(angle * 0.5f);
    return {axis.x * s, axis.y * s, axis.z * s, std::cos(angle * 0.5f)};
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

Quaternion Quaternion::FromMatrix(const Matrix44& matrix)
{
    const auto& m = matrix.m;
    const float trace = m[0][0] + m[1][1] + m[2][2];
    if (trace > 0.0f) {
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
    const float inverse = 1.0f / std::sqrt(out.x * out.x + out.y * out.y + out.z * out.z + out.w * out.w);
    out.x *= inverse;
    out.y *= inverse;
    out.z *= inverse;
    out.w *= inverse;
    return out;
}

Quaternion Quaternion::Multiply(const Quaternion& a, const Quaternion& b)
{
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w,
            a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}
