#include "game/world/CameraPreset.h"

#include "engine/core/LogHub.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/Stream.h"
#include "render/models/ModelFileReading.h"

#include <memory>

namespace {

constexpr int32_t kSmallestPresetFile = 10;
// Up to the full-rotation flag; the field of view follows from version 1 on.
constexpr int32_t kVersion0Bytes = 45;
constexpr int32_t kVersion1Bytes = 49;

} // namespace

CameraPreset CameraPreset::Load(const WideString& name, bool report)
{
    const CameraPreset defaults;
    std::unique_ptr<Stream> file = OpenFile(name);
    if (file->GetSize() < kSmallestPresetFile || !ReadDc2Magic(*file)) {
        if (report) {
            LogHub::PrintError("%s is missing!", name.c_str());
        }
        return defaults;
    }
    const int32_t version = file->ReadInt32();
    if (file->GetSize() < (version >= 1 ? kVersion1Bytes : kVersion0Bytes)) {
        file->ReportErrors();
        return defaults;
    }
    CameraPreset preset;
    preset.focusOffset = ReadVec3(*file);
    preset.rotation = ReadQuaternion(*file);
    preset.distance = file->ReadFloat();
    preset.turnRate = file->ReadFloat();
    preset.showTarget = file->ReadByte() != 0 ? 1 : 0;
    preset.fullRotation = file->ReadByte() != 0 ? 1 : 0;
    if (version >= 1) {
        preset.fieldOfView = file->ReadFloat();
    }
    return preset;
}
