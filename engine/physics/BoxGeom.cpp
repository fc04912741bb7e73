#include "engine/physics/BoxGeom.h"

#include "engine/physics/OdeConversions.h"

#include <ode/ode.h>

#include <algorithm>
#include <iterator>

BoxGeom::BoxGeom(const Vec3& halfExtents)
{
    Adopt(dCreateBox(nullptr, halfExtents.x * 2.0f, halfExtents.y * 2.0f, halfExtents.z * 2.0f));
}

void BoxGeom::SetHalfExtents(const Vec3& halfExtents)
{
    dGeomBoxSetLengths(GetShape(), halfExtents.x * 2.0f, halfExtents.y * 2.0f, halfExtents.z * 2.0f);
}

Vec3 BoxGeom::GetHalfExtents() const
{
    dVector3 lengths;
    dGeomBoxGetLengths(GetShape(), lengths);
    return VecFromOde(lengths) * 0.5f;
}

void BoxGeom::GetCorners(Vec3 corners[8], int32_t edges[24]) const
{
    Matrix44 rotation;
    GetRotation(rotation);
    const Vec3 offset = HasFlag(kGeomWrapped) ? VecFromOde(dGeomGetPosition(GetShape())) : kZeroVector;
    const Vec3 centre = Vec3::TransformDirection(offset, rotation) + GetPosition();
    const Vec3 half = GetHalfExtents();
    MakeBoxCorners(centre, rotation.GetRow(0) * half.x, rotation.GetRow(1) * half.y, rotation.GetRow(2) * half.z,
                   corners);
    std::copy(std::begin(BoxEdgeList), std::end(BoxEdgeList), edges);
}
