#pragma once
// The probe that lets the casings of one burst bounce: a sphere of radius 10
// that falls with them and collects, every fixed step, the world surfaces it
// touches; the casings riding on it bounce off those surfaces. It is counted
// by its users (the creator, then each casing until it comes to rest or
// goes) and goes back to its pool when the count reaches 0. While counted it
// is a member of the game scene, so that it is stepped.

#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/math/Plane.h"
#include "engine/math/Vec3.h"
#include "engine/physics/PhysicsMessages.h"
#include "engine/physics/SphereGeom.h"
#include "game/world/GameMessages.h"

#include <cstdint>
#include <vector>

class dcShellSensor : public SphereGeom, public MessageReceiver {
    DC_RECEIVER(dcShellSensor, MessageReceiver)
public:
    static constexpr float kRadius = 10.0f;
    static constexpr float kSurfaceLift = 0.5f;   // a surface lies this far out along its normal

    dcShellSensor();

    // At the position with the velocity and a count of 1, for its creator;
    // null without a game module.
    static dcShellSensor* Create(const Vec3& position, const Vec3& velocity);
    static int32_t FreeCount();

    void AddReference() { ++references_; }
    // One user less; at 0 the sensor goes back to its pool.
    void Release();

    int32_t GetReferences() const { return references_; }
    const Vec3& GetVelocity() const { return velocity_; }
    const std::vector<Plane>& GetSurfaces() const { return surfaces_; }

protected:
    virtual void OnGameReset(const dcGameReset& message);
    virtual void OnUpdate(const dcUpdate& message);
    virtual void OnContact(const dcContact& message);

private:
    // Out of the game's scene and physics world: no longer stepped.
    void Leave();

    int32_t references_ = 0;
    Vec3 velocity_;
    std::vector<Plane> surfaces_;
};
// handlers: dcGameReset -> OnGameReset, dcUpdate -> OnUpdate, dcContact -> OnContact

// Bounces a point moving with the velocity off every surface it has sunk
// into: the velocity reflected and halved, the point pushed out a little
// further than it sank. Answers whether it met one.
bool BounceOffSurface(const Plane& surface, Vec3& position, Vec3& velocity);
