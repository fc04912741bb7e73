#pragma once
// Where sounds are in the world and how they reach the listener: a volume
// falling linearly from full at the minimum distance to silence at the
// maximum, and a pan from the side the sound lies on. No Doppler: velocities
// are kept but play no part.

#include "engine/math/Matrix44.h"
#include "engine/math/Vec3.h"

// A voice's place in the world.
struct Sound3D {
    Vec3 position;
    Vec3 velocity;
    float minDistance = 0.0f;
    float maxDistance = 1.0f;
    float maxDistanceSquared = 1.0f;

    void SetRange(float minimum, float maximum);
};

struct ListenerPose {
    Vec3 position;
    // The listener's own axes in the world as rotation rows: row 0 its right.
    Matrix44 orientation;
    Vec3 velocity;
};

struct VolumePan {
    float volume;
    float pan;
};

// The volume and pan at which a sound of the given volume reaches the listener.
VolumePan PlaceSound(const ListenerPose& listener, const Sound3D& sound, float volume);
