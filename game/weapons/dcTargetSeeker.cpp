#include "game/weapons/dcTargetSeeker.h"

#include "game/weapons/SensorGeometry.h"
#include "game/weapons/TargetMessage.h"

#include <algorithm>

namespace {

// Seen from above: y dropped, then normalised.
Vec3 Flattened(const Vec3& v)
{
    Vec3 flat{v.x, 0.0f, v.z};
    flat.Normalize();
    return flat;
}

} // namespace

dcTargetSeeker::dcTargetSeeker() : SphereGeom(1.0f)
{
    Handles<dcContact, &dcTargetSeeker::OnContact>();
    MakeSensor(*this);
    SetOwner(this);
    Disable();
    AddToGamePhysics(*this);
}

void dcTargetSeeker::Aim(const Vec3& origin, const Vec3& direction)
{
    origin_ = origin;
    direction_ = direction;
    hits_.clear();
}

void dcTargetSeeker::OnContact(const dcContact& message)
{
    if (message.otherOwner && message.other) {
        Consider(*message.otherOwner, message.other->GetPosition());
    }
    // One look per pair is enough, and no contact is made.
    message.accept = 0;
    message.continueContacts = 0;
}

void dcTargetSeeker::Consider(MessageReceiver& candidate, const Vec3& position)
{
    dcTargetMessage target;
    candidate.Send(target);
    if (target.health == 0.0f || target.priority == 0.0f) {
        return;
    }
    const Vec3 toTarget = position - origin_;
    Vec3 heading = toTarget;
    heading.Normalize();
    const float alignment = Vec3::Dot(heading, direction_);
    const float horizontalAlignment = Vec3::Dot(Flattened(heading), Flattened(direction_));
    if (alignment > kMinAlignment && horizontalAlignment > kMinHorizontalAlignment) {
        Insert({candidate.GetId(), horizontalAlignment, alignment, Vec3::Dot(toTarget, toTarget), target.priority});
    }
}

void dcTargetSeeker::Insert(const SeekerHit& hit)
{
    const auto before = std::find_if(hits_.begin(), hits_.end(), [&hit](const SeekerHit& entry) {
        return hit.horizontalAlignment > entry.horizontalAlignment && hit.priority >= entry.priority;
    });
    hits_.insert(before, hit);
}
