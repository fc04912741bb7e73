#include "game/world/dcWorldObject.h"

Matrix44 dcWorldObject::GetCurrentTransform() const
{
    Matrix44 transform = Quaternion::ToTransform(GetCurrentOrientation());
    const Vec3 at = GetCurrentPosition();
    transform.m[3][0] = at.x;
    transform.m[3][1] = at.y;
    transform.m[3][2] = at.z;
    return transform;
}
