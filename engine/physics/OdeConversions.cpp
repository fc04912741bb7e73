#include "engine/physics/OdeConversions.h"

void RotationToOde(const Matrix44& rotation, dMatrix3 out)
{
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            out[i * 4 + j] = rotation.m[j][i];
        }
        out[i * 4 + 3] = 0.0f;
    }
}

void RotationFromOde(const dReal* rotation, Matrix44& out)
{
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            out.m[j][i] = rotation[i * 4 + j];
        }
    }
    out.m[0][3] = 0.0f;
    out.m[1][3] = 0.0f;
    out.m[2][3] = 0.0f;
}

void QuaternionToOde(const Quaternion& q, dQuaternion out)
{
    out[0] = q.w;
    out[1] = q.x;
    out[2] = q.y;
    out[3] = q.z;
}

Quaternion QuaternionFromOde(const dReal* q)
{
    return {q[1], q[2], q[3], q[0]};
}
