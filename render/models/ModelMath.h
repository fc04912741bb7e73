#pragma once
// The few transforms the model code builds that the math library has no
// single call for.

#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"

// The rotation of the quaternion with the position as translation row.
inline Matrix44 PoseMatrix(const Quaternion& rotation, const Vec3& position)
{
    Matrix44 m = Quaternion::ToTransform(rotation);
    m.SetRow(3, position);
    return m;
}
