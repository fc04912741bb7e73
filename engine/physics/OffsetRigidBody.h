#pragma once
// A body whose reference point sits at an offset from the ODE body's centre
// (the offset is given in the body's frame). Position and transform are those
// of the reference point (the body's transform goes through them), so a
// transform read and set again leaves the body where it was.

#include "engine/physics/RigidBody.h"

class OffsetRigidBody : public RigidBody {
public:
    explicit OffsetRigidBody(PhysicsWorld& world);

    void SetOffset(const Vec3& offset) { offset_ = offset; }
    const Vec3& GetOffset() const { return offset_; }

    void SetPosition(const Vec3& position) override;
    Vec3 GetPosition() const override;

private:
    // The offset turned by the body's current orientation.
    Vec3 TurnedOffset() const;

    Vec3 offset_;
};
