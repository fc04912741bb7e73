#include "engine/audio/PositionalSound.h"

#include "engine/math/Scalar.h"

#include <cmath>

void Sound3D::SetRange(float minimum, float maximum)
{
    minDistance = minimum;
    maxDistance = maximum;
    maxDistanceSquared = maximum * maximum;
}

VolumePan PlaceSound(const ListenerPose& listener, const Sound3D& sound, float volume)
{
    const Vec3 offset = sound.position - listener.position;
    const float squared = Vec3::Dot(offset, offset);
    if (squared > sound.maxDistanceSquared) {
        return {0.0f, 0.0f};
    }
    const float distance = std::sqrt(squared);
    const float range = sound.maxDistance - sound.minDistance;
    // Without a falloff zone the sound is either in full or silent.
    const float attenuation = range > 0.0f ? Lerp(1.0f, 0.0f, (distance - sound.minDistance) / range)
                                           : (distance < sound.maxDistance ? 1.0f : 0.0f);
    // The offset's share along the listener's right; the rows are the
    // listener's axes, so this undoes its turn rather than applying it again.
    const float pan = distance > 0.0f ? Vec3::Dot(offset, listener.orientation.GetRow(0)) / distance : 0.0f;
    return {attenuation * volume, pan};
}
