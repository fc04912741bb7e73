#include "game/world/dcDropPointRay.h"

#include "game/world/dcWorldObject.h"

dcDropPointRay::dcDropPointRay(const std::vector<TriMeshTriangle>& triangles,
                               const std::vector<dcWorldObject>& staticObjects)
    : sphere_(1.0f)
    , triangles_(triangles)
    , staticObjects_(staticObjects)
{
    Handles<dcTriangleContact, &dcDropPointRay::OnTriangleContact>();
    sphere_.SetRadius(kReach);
    sphere_.SetFlag(kGeomPassive | kGeomSensing, true);
    sphere_.SetOwner(this);
}

// A tag that names no static object (a negative one among them) is no road.
void dcDropPointRay::OnTriangleContact(const dcTriangleContact& message)
{
    if (message.triangle < 0 || message.triangle >= static_cast<int32_t>(triangles_.size())) {
        return;
    }
    const int32_t object = triangles_[static_cast<size_t>(message.triangle)].tag;
    if (object < 0 || object >= static_cast<int32_t>(staticObjects_.size())) {
        return;
    }
    const WideString& roadName = staticObjects_[static_cast<size_t>(object)].name;
    if (!roadName.empty()) {
        foundName = roadName;
    }
}
