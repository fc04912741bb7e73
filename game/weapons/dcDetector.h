#pragma once
// A sphere in the game's physics world that others meet in their own
// collision handlers: characters carry one so that pedestrians sense their
// shooting, a dying pedestrian leaves one behind for a while. The detector
// itself hears nothing of its collisions. It is permanent, or releases itself
// when its lifetime has run out or the game is reset.

#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/math/Vec3.h"
#include "engine/physics/SphereGeom.h"
#include "game/world/GameMessages.h"

#include <cstdint>

class dcDetector : public MessageReceiver {
    DC_RECEIVER(dcDetector, MessageReceiver)
public:
    static constexpr float kPermanent = -1.0f;

    // Permanent, radius 1, already in the game's physics world: the form an
    // object embeds.
    dcDetector();

    // A detector of its own in the game's scene under a fresh id; lifetime
    // in seconds, or kPermanent. Null without a game module.
    static dcDetector* Create(const Vec3& position, float radius, int32_t categoryBits, int32_t collideBits,
                              float lifetime);

    SphereGeom& GetSphere() { return sphere_; }
    float GetLifetime() const { return lifetime_; }

protected:
    virtual void OnGameReset(const dcGameReset& message);
    virtual void OnUpdate(const dcUpdate& message);

private:
    SphereGeom sphere_{1.0f};
    float lifetime_ = kPermanent;   // seconds left
};
// handlers: dcGameReset -> OnGameReset, dcUpdate -> OnUpdate
