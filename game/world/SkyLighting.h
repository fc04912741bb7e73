#pragma once
// The lighting of a sky: three static lights for the world and the static
// objects, three dynamic lights for the moving entities, and the fog. The
// sky settings files hold a light as 68 bytes of floats, in the order of
// its fields.

#include "engine/core/FixedLayout.h"
#include "engine/math/Quaternion.h"

#include <array>

class Stream;
class WriteStream;

struct SkyLight {
    static constexpr int32_t kFileBytes = 68;

    // The light shines along the unit z axis turned by the conjugate of this.
    Quaternion orientation;
    // Colours are scaled by min(intensity, 1); 1 keeps them as given.
    float intensity = 1.0f;
    float ambient[4] = {1.0f, 1.0f, 1.0f, 1.0f};   // RGBA, 0 to 1
    float diffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
};
DC_FIXED_LAYOUT(SkyLight, SkyLight::kFileBytes);

constexpr int32_t kSkyLightsPerSet = 3;
using SkyLightSet = std::array<SkyLight, kSkyLightsPerSet>;

struct SkyFog {
    static constexpr int32_t kFileBytes = 24;

    float range = 1.0f;   // the shaders receive 1 / (range x the camera's far distance)
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};   // RGBA
    float intensity = 1.0f;   // multiplies the colour
};

// Field by field; the caller has made sure the stream holds the whole record.
SkyLight ReadSkyLight(Stream& file);
void WriteSkyLight(WriteStream& file, const SkyLight& light);
SkyFog ReadSkyFog(Stream& file);
void WriteSkyFog(WriteStream& file, const SkyFog& fog);
