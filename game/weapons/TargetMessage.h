#pragma once
// The query by which any object reads a targetable entity. The asker sends
// it zero-filled, rotation (0, 0, 0, 1); the entity overwrites what it knows.

#include "engine/core/Message.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"

class PhysicsGeom;

struct dcTargetMessage {
    DC_LOCAL_MESSAGE(dcTargetMessage)
    mutable PhysicsGeom* geometry = nullptr;   // for ray tests; null when it has none
    mutable Vec3 position;
    mutable Quaternion rotation;
    mutable Vec3 velocity;          // units per second
    mutable float health = 0.0f;    // 0 = destroyed
    mutable float maxHealth = 0.0f; // 0 for what cannot be destroyed
    mutable float radius = 0.0f;
    mutable float priority = 0.0f;  // 0 = never chosen as a target
};
