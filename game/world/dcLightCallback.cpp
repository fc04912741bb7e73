#include "game/world/dcLightCallback.h"

dcLightCallback::dcLightCallback()
{
    Handles<dcContact, &dcLightCallback::OnContact>();
}

// Of equally level surfaces the first one met stays.
void dcLightCallback::OnContact(const dcContact& message)
{
    if (keptGeometry_ && !(message.normal.y > keptNormal_.y)) {
        return;
    }
    keptGeometry_ = message.other;
    keptPoint_ = message.position + message.normal * kLift;
    keptNormal_ = message.normal;
}

void dcLightCallback::PlacementMatrix(Matrix44& out) const
{
    Vec3 across;
    Vec3 along;
    MakePerpendicularAxes(keptNormal_, across, along);
    out = kIdentityMatrix;
    out.SetRow(0, -along);
    out.SetRow(1, keptNormal_);
    out.SetRow(2, across);
}
