#pragma once
// Values crossing between the engine and ODE. ODE keeps rotations as 3 x 4
// matrices for column vectors, the engine as rows for row vectors, so every
// rotation crosses transposed: ODE (row i, column j) = engine (row j, column
// i). Quaternions are (x, y, z, w) here and (w, x, y, z) in ODE.

#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"

#include <ode/common.h>

#include <type_traits>

// Both architectures simulate alike only when ODE computes in the engine's own
// precision; its build picks doubles on x86-64 unless told otherwise.
static_assert(std::is_same_v<dReal, float>, "ODE must be built in single precision");

inline Vec3 VecFromOde(const dReal* v)
{
    return {v[0], v[1], v[2]};
}

// The first three elements of an ODE vector.
inline void VecToOde(const Vec3& v, dReal* out)
{
    out[0] = v.x;
    out[1] = v.y;
    out[2] = v.z;
}

// The rotation rows of the matrix as an ODE rotation.
void RotationToOde(const Matrix44& rotation, dMatrix3 out);
// Rows 0 to 2 of out from an ODE rotation, fourth elements 0; row 3 is left
// as it was.
void RotationFromOde(const dReal* rotation, Matrix44& out);

void QuaternionToOde(const Quaternion& q, dQuaternion out);
Quaternion QuaternionFromOde(const dReal* q);
