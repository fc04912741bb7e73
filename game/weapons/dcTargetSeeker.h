#pragma once
// A sphere that, when something collides with it, keeps the targets lying
// within a narrow cone in front of it: within about 32 degrees of its axis,
// and within about 26 degrees of it seen from above. The list is ordered by
// the horizontal alignment, best first, except that a target never overtakes
// one of higher priority. Whatever the sphere meets makes no contact.

#include "engine/core/MessageReceiver.h"
#include "engine/math/Vec3.h"
#include "engine/physics/PhysicsMessages.h"
#include "engine/physics/SphereGeom.h"

#include <cstdint>
#include <vector>

struct SeekerHit {
    int32_t entityId;
    float horizontalAlignment;   // cosine of the angle to the axis, both seen from above
    float alignment;             // cosine of the angle to the axis
    float squaredDistance;       // from the cone's apex
    float priority;              // the target's own
};
static_assert(sizeof(SeekerHit) == 20);

class dcTargetSeeker : public SphereGeom, public MessageReceiver {
    DC_RECEIVER(dcTargetSeeker, MessageReceiver)
public:
    static constexpr float kMinAlignment = 0.85f;
    static constexpr float kMinHorizontalAlignment = 0.9f;

    // Radius 1, in the game's physics world, out of its collision pass.
    dcTargetSeeker();

    // A new search: the cone's apex and its axis (unit length), no hits yet.
    void Aim(const Vec3& origin, const Vec3& direction);
    const std::vector<SeekerHit>& GetHits() const { return hits_; }

protected:
    virtual void OnContact(const dcContact& message);

private:
    // The candidate's hit, when it lies within the cone.
    void Consider(MessageReceiver& candidate, const Vec3& position);
    void Insert(const SeekerHit& hit);

    Vec3 origin_;
    Vec3 direction_;
    std::vector<SeekerHit> hits_;
};
// handlers: dcContact -> OnContact
