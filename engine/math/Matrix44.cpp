#include "engine/math/Matrix44.h"

#include "engine/math/Quaternion.h"

namespace {

// R(axis, angle) with no translation; the axis is used as given.
Matrix44 AxisRotation(const Vec3& axis, float angle)
{
    return Quaternion::ToTransform(Quaternion::FromAxisAngle(axis, angle));
}

} // namespace

void Matrix44::SetRow(int row, const Vec3& v)
{
    m[row][0] = v.x;
    m[row][1] = v.y;
    m[row][2] = v.z;
}

Matrix44 Matrix44::Multiply(const Matrix44& a, const Matrix44& b)
{
    Matrix44 out;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            out.m[r][c] = a.m[r][0] * b.m[0][c] + a.m[r][1] * b.m[1][c] + a.m[r][2] * b.m[2][c] +
                          a.m[r][3] * b.m[3][c];
        }
    }
    return out;
}

void Matrix44::MultiplyRotation(const Matrix44& a, const Matrix44& b, Matrix44& out)
{
    float product[3][3];
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            product[r][c] = a.m[r][0] * b.m[0][c] + a.m[r][1] * b.m[1][c] + a.m[r][2] * b.m[2][c];
        }
    }
    for (int r = 0; r < 3; ++r) {
        out.m[r][0] = product[r][0];
        out.m[r][1] = product[r][1];
        out.m[r][2] = product[r][2];
        out.m[r][3] = 0.0f;
    }
}

Matrix44 Matrix44::Transpose(const Matrix44& m)
{
    Matrix44 out;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            out.m[r][c] = m.m[c][r];
        }
    }
    return out;
}

void Matrix44::TransposeRotation(const Matrix44& m, Matrix44& out)
{
    const Matrix44 source = m;   // out may be m
    for (int r = 0; r < 3; ++r) {
        out.SetRow(r, {source.m[0][r], source.m[1][r], source.m[2][r]});
        out.m[r][3] = 0.0f;
    }
}

Matrix44 Matrix44::FromRotationTranslation(const Matrix44& rotation, const Vec3& t)
{
    Matrix44 out;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            out.m[r][c] = rotation.m[r][c];
        }
    }
    out.m[3][0] = t.x;
    out.m[3][1] = t.y;
    out.m[3][2] = t.z;
    out.m[3][3] = 1.0f;
    return out;
}

Matrix44 Matrix44::FromAxisAngleTranslation(const Vec3& axis, float angle, const Vec3& t)
{
    return FromRotationTranslation(AxisRotation(axis, angle), t);
}

Matrix44 Matrix44::InvertRigid(const Matrix44& m)
{
    Matrix44 out;
    TransposeRotation(m, out);
    const Vec3 t = m.GetRow(3);
    out.SetRow(3, -Vec3{Vec3::Dot(t, m.GetRow(0)), Vec3::Dot(t, m.GetRow(1)), Vec3::Dot(t, m.GetRow(2))});
    return out;
}

void Matrix44::PostMultiply(const Matrix44& b)
{
    *this = Multiply(*this, b);
}

void Matrix44::Translate(const Vec3& v)
{
    Matrix44 translation;
    translation.SetRow(3, v);
    PostMultiply(translation);
}

void Matrix44::Scale(const Vec3& v)
{
    Matrix44 scaling;
    scaling.m[0][0] = v.x;
    scaling.m[1][1] = v.y;
    scaling.m[2][2] = v.z;
    PostMultiply(scaling);
}

void Matrix44::RotateRowsAboutAxis(const Vec3& axis, float angle)
{
    MultiplyRotation(*this, AxisRotation(axis, angle), *this);
}

void Matrix44::RotateAxis(const Vec3& axis, float angle)
{
    PostMultiply(AxisRotation(axis, angle));
}

void Matrix44::PreRotateAxis(const Vec3& axis, float angle)
{
    *this = Multiply(AxisRotation(axis, angle), *this);
}

void Matrix44::FromForwardUp(const Vec3& forward, const Vec3& upHint)
{
    Vec3 side = Vec3::Cross(upHint, forward);
    side.Normalize();
    SetRow(0, side);
    SetRow(1, Vec3::Cross(forward, side));
    SetRow(2, forward);
}

void Matrix44::FromForward(const Vec3& forward)
{
    FromForwardUp(forward, kWorldUp);
}

void Matrix44::FromUpForward(const Vec3& forwardHint, const Vec3& up)
{
    Vec3 side = Vec3::Cross(up, forwardHint);
    side.Normalize();
    Vec3 forward = Vec3::Cross(side, up);
    forward.Normalize();
    SetRow(0, side);
    SetRow(1, up);
    SetRow(2, forward);
}
