#include "game/world/SkyFiles.h"

#include "engine/core/LogHub.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/ReplacingFileWrite.h"
#include "engine/files/Stream.h"
#include "engine/files/WriteStream.h"

#include <memory>

namespace {

constexpr int32_t kSmallestFile = 10;
constexpr int32_t kHeaderBytes = 7;                 // the magic and an int32
constexpr int32_t kFlareWrittenField = 0x10000000;
constexpr int32_t kFogVersion = 1;
constexpr int32_t kFlareBytes = kHeaderBytes + 12;
constexpr int32_t kLightsBytes = kHeaderBytes + kSkyLightsPerSet * SkyLight::kFileBytes;

// The file open at its first byte after the header, or none when it is
// missing (silently) or not a sky settings file (logged).
std::unique_ptr<Stream> OpenSkyFile(const WideString& path)
{
    std::unique_ptr<Stream> file = OpenFile(path);
    if (file->GetSize() < 0) {
        return nullptr;
    }
    char magic[3] = {};
    if (file->GetSize() < kSmallestFile || file->Read(magic, 3) != 3 || magic[0] != 'D' || magic[1] != 'C' ||
        magic[2] != '2') {
        LogHub::PrintError("%s is not a sky settings file: ignored", path.c_str());
        return nullptr;
    }
    return file;
}

// Whether the file holds the bytes its version needs; logged when not.
bool HoldsBytes(const Stream& file, int32_t needed)
{
    if (file.GetSize() >= needed) {
        return true;
    }
    LogHub::PrintError("%s is %d bytes, shorter than the %d its version needs: ignored", file.GetName().c_str(),
                       file.GetSize(), needed);
    return false;
}

void ReadLights(Stream& file, SkyLightSet& lights)
{
    for (SkyLight& light : lights) {
        light = ReadSkyLight(file);
    }
}

void WriteHeader(WriteStream& file, int32_t field)
{
    file.Write("DC2", 3);
    file.WriteInt32(field);
}

} // namespace

WideString SkyFilePath(const WideString& folder, const wchar_t* file)
{
    return folder + L"\\" + file;
}

bool ReadFlareFile(const WideString& path, Vec3& sunDirection)
{
    std::unique_ptr<Stream> file = OpenSkyFile(path);
    if (!file || !HoldsBytes(*file, kFlareBytes)) {
        return false;
    }
    file->ReadInt32();
    sunDirection.x = file->ReadFloat();
    sunDirection.y = file->ReadFloat();
    sunDirection.z = file->ReadFloat();
    return true;
}

bool ReadLightingFile(const WideString& path, SkyLightSet& lights, SkyFog* fog)
{
    std::unique_ptr<Stream> file = OpenSkyFile(path);
    if (!file) {
        return false;
    }
    const bool readsFog = file->ReadInt32() == kFogVersion && fog;
    if (!HoldsBytes(*file, kLightsBytes + (readsFog ? SkyFog::kFileBytes : 0))) {
        return false;
    }
    ReadLights(*file, lights);
    if (readsFog) {
        *fog = ReadSkyFog(*file);
    }
    return true;
}

bool WriteFlareFile(const WideString& path, const Vec3& sunDirection)
{
    return WriteFileReplacing(path, [&sunDirection](WriteStream& file) {
        WriteHeader(file, kFlareWrittenField);
        file.WriteFloat(sunDirection.x);
        file.WriteFloat(sunDirection.y);
        file.WriteFloat(sunDirection.z);
    });
}

bool WriteLightingFile(const WideString& path, const SkyLightSet& lights, const SkyFog& fog)
{
    return WriteFileReplacing(path, [&lights, &fog](WriteStream& file) {
        WriteHeader(file, kFogVersion);
        for (const SkyLight& light : lights) {
            WriteSkyLight(file, light);
        }
        WriteSkyFog(file, fog);
    });
}
