#include "game/world/SkyLighting.h"

#include "engine/files/Stream.h"
#include "engine/files/WriteStream.h"

namespace {

void ReadFloats(Stream& file, float* values, int32_t count)
{
    for (int32_t i = 0; i < count; ++i) {
        values[i] = file.ReadFloat();
    }
}

void WriteFloats(WriteStream& file, const float* values, int32_t count)
{
    for (int32_t i = 0; i < count; ++i) {
        file.WriteFloat(values[i]);
    }
}

} // namespace

SkyLight ReadSkyLight(Stream& file)
{
    SkyLight light;
    light.orientation.x = file.ReadFloat();
    light.orientation.y = file.ReadFloat();
    light.orientation.z = file.ReadFloat();
    light.orientation.w = file.ReadFloat();
    light.intensity = file.ReadFloat();
    ReadFloats(file, light.ambient, 4);
    ReadFloats(file, light.diffuse, 4);
    ReadFloats(file, light.specular, 4);
    return light;
}

void WriteSkyLight(WriteStream& file, const SkyLight& light)
{
    const float orientation[4] = {light.orientation.x, light.orientation.y, light.orientation.z,
                                  light.orientation.w};
    WriteFloats(file, orientation, 4);
    file.WriteFloat(light.intensity);
    WriteFloats(file, light.ambient, 4);
    WriteFloats(file, light.diffuse, 4);
    WriteFloats(file, light.specular, 4);
}

SkyFog ReadSkyFog(Stream& file)
{
    SkyFog fog;
    fog.range = file.ReadFloat();
    ReadFloats(file, fog.colour, 4);
    fog.intensity = file.ReadFloat();
    return fog;
}

void WriteSkyFog(WriteStream& file, const SkyFog& fog)
{
    file.WriteFloat(fog.range);
    WriteFloats(file, fog.colour, 4);
    file.WriteFloat(fog.intensity);
}
