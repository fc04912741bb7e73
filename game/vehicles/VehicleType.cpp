#include "game/vehicles/VehicleType.h"

#include "engine/core/LogHub.h"
#include "engine/core/dcEngine.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/Stream.h"
#include "engine/math/Matrix44.h"
#include "engine/video/VideoDevice.h"
#include "render/device/TextureLookup.h"
#include "render/models/Model.h"
#include "render/models/ModelFileReading.h"

#include <algorithm>

namespace {

constexpr int32_t kSmallestTypeFile = 10;
constexpr int32_t kFloatBytes = 4;
constexpr float kBoundsStart = 1e8f;

// The files beside "Vehicles\<NAME>.DCC": "Vehicles\<NAME>\<file>".
WideString TypeFile(const WideString& typeName, const WideString& file)
{
    return L"Vehicles\\" + typeName + L"\\" + file;
}

std::vector<WideString> TypeFiles(const WideString& typeName, const wchar_t* pattern)
{
    std::vector<WideString> files = ListFiles(TypeFile(typeName, pattern));
    for (WideString& file : files) {
        file = TypeFile(typeName, file);
    }
    return files;
}

// An int32 count and that many floats; false, reported, when the count runs
// past the end of the file.
bool ReadFloats(Stream& file, std::vector<float>& values)
{
    const int32_t count = file.ReadCount(kFloatBytes);
    if (file.HasErrors()) {
        return false;
    }
    values.resize(static_cast<size_t>(count));
    for (float& value : values) {
        value = file.ReadFloat();
    }
    return true;
}

// What the version gates leave to read after the torque curve.
int32_t TailBytes(int32_t version)
{
    int32_t floats = 7;
    floats += version >= 3 ? 1 : 0;
    floats += version >= 1 ? 3 : 0;
    floats += version >= 2 ? 1 : 0;
    floats += version >= 4 ? 6 : 0;
    floats += version >= 5 ? 6 : 0;   // five floats and infoD
    floats += version >= 6 ? 1 : 0;
    return floats * kFloatBytes;
}

Vec3 MeanWithoutSide(const Vec3& a, const Vec3& b)
{
    return {0.0f, (a.y + b.y) * 0.5f, (a.z + b.z) * 0.5f};
}



} // namespace

bool VehicleType::Load(const WideString& fileName)
{
    name = fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0);
    WideStringToUpper(name);
    nameHash = HashNameNoCase(name);
    const WideString path = L"Vehicles\\" + fileName;
    std::unique_ptr<Stream> file = OpenFile(path);
    if (file->GetSize() < kSmallestTypeFile || !ReadDc2Magic(*file)) {
        LogHub::PrintError("%s is not a valid vehicle", path.c_str());
        return false;
    }
    if (!ReadNumbers(*file)) {
        file->ReportErrors();
        return false;
    }
    file.reset();
    FindModelFiles();
    if (chassisFiles.empty()) {
        LogHub::PrintError("%s has no chassis model", path.c_str());
        return false;
    }
    ReadProbeModel();
    for (int32_t preset = 1; preset <= kCameraCount; ++preset) {
        cameras[static_cast<size_t>(preset - 1)] =
            CameraPreset::Load(TypeFile(name, std::to_wstring(preset) + L".CAM"), true);
    }
    return CheckSimulationNumbers(path);
}

bool VehicleType::ReadNumbers(Stream& file)
{
    file.Skip(8);
    const int32_t version = file.ReadInt32();
    displayIndex = file.ReadInt32();
    gearCount = file.ReadInt32();
    if (!ReadFloats(file, gearRatios)) {
        return false;
    }
    finalDrive = file.ReadFloat();
    driveEfficiency = file.ReadFloat();
    if (!ReadFloats(file, torqueCurve) || file.Remaining() < TailBytes(version)) {
        return false;
    }
    torqueScale = version >= 3 ? file.ReadFloat() : 1.0f;
    for (float* value : {&rollingResistance, &airDrag, &angularDamping, &tuningA, &mass, &tuningD, &tuningE}) {
        *value = file.ReadFloat();
    }
    ReadGatedFloats(file, version >= 1, {&brakeForce, &wheelSoftErp, &wheelSoftCfm}, {1.0f, 0.0f, 0.0f});
    ReadGatedFloats(file, version >= 2, {&maxSteerAngle}, {0.66f});
    ReadGatedFloats(file, version >= 4,
                    {&engine1PitchRpm, &engine2PitchRpm, &crossfadeLowRpm, &crossfadeHighRpm, &crossfadeLowMix,
                     &crossfadeHighMix},
                    {6000.0f, 6000.0f, 3000.0f, 6000.0f, 0.0f, 1.0f});
    ReadGatedFloats(file, version >= 5, {&tuningB, &tuningC, &infoA, &infoB, &infoC},
                    {0.0f, 0.001f, 3.2f, 7.8f, 322.0f});
    ReadGatedFloats(file, version >= 6, {&infoMass}, {mass});
    infoD = version >= 5 ? file.ReadInt32() : 1;
    return true;
}

void VehicleType::ReadGatedFloats(Stream& file, bool present, std::initializer_list<float*> values,
                                  std::initializer_list<float> defaults)
{
    const float* fallback = defaults.begin();
    for (float* value : values) {
        *value = present ? file.ReadFloat() : *fallback;
        ++fallback;
    }
}

void VehicleType::FindModelFiles()
{
    chassisFiles = TypeFiles(name, L"Chassis*.DCM");
    lodFiles = TypeFiles(name, L"LOD*.DCM");
    wreckFile = TypeFile(name, L"Stuk.DCM");
    skins.clear();
    VideoDevice* device = dcEngine::Instance().GetVideoDevice();
    for (const WideString& file : ListFiles(TypeFile(name, L"C*.DCT"))) {
        VehicleSkin skin;
        skin.name = L"_" + file.substr(0, file.size() - 4);
        if (device) {
            skin.texture = GetTexture(*device, TypeFile(name, file));
        }
        skins.push_back(std::move(skin));
    }
    if (skins.empty()) {
        skins.emplace_back();
    }
}

// The chassis box, the wheels and the mounts come from the first chassis
// model, made for the reading only.
void VehicleType::ReadProbeModel()
{
    Model probe(chassisFiles.front(), skins.front().name);
    ReadChassisParts(probe.GetNodes());
    for (const Tape& tape : probe.GetTapes()) {
        WideString tapeName = tape.name;
        WideStringToUpper(tapeName);
        ReadMountTape(tapeName, tape.position, tape.second, name);
        ReadLightTape(tapeName, tape);
    }
    ReportMissingRocketTapes(name);
}

void VehicleType::ReadChassisParts(const std::vector<MeshNode>& parts)
{
    Vec3 low{kBoundsStart, kBoundsStart, kBoundsStart};
    Vec3 high{-kBoundsStart, -kBoundsStart, -kBoundsStart};
    for (const MeshNode& part : parts) {
        WideString partName = part.name;
        WideStringToUpper(partName);
        const BoundingBox& box = part.worldBounds;
        if (WideStringStartsWith(partName, L"CAR")) {
            const Vec3 lo = box.centre - box.halfExtents;
            const Vec3 hi = box.centre + box.halfExtents;
            low = {std::min(low.x, lo.x), std::min(low.y, lo.y), std::min(low.z, lo.z)};
            high = {std::max(high.x, hi.x), std::max(high.y, hi.y), std::max(high.z, hi.z)};
            continue;
        }
        for (int32_t wheel = 0; wheel < kWheelCount; ++wheel) {
            if (partName == L"WHEEL_" + std::to_wstring(wheel + 1)) {
                wheelMounts[static_cast<size_t>(wheel)] = part.position;
                wheelRadii[static_cast<size_t>(wheel)] = box.halfExtents.y;
            }
        }
    }
    for (const Vec3& mount : wheelMounts) {
        low.y = std::max(low.y, mount.y);
    }
    chassisBoxCentre = (low + high) * 0.5f;
    chassisBoxHalf = high - chassisBoxCentre;
    frontAxle = MeanWithoutSide(wheelMounts[0], wheelMounts[1]);
    rearAxle = MeanWithoutSide(wheelMounts[2], wheelMounts[3]);
    axleCentre = MeanWithoutSide(frontAxle, rearAxle);
}

void VehicleType::ReadLightTape(const WideString& tapeName, const Tape& tape)
{
    const std::pair<const wchar_t*, std::vector<VehicleLightNode>*> lights[] = {
        {L"HEADLIGHT", &headlightNodes}, {L"BRAKELIGHT", &brakeLightNodes}, {L"REARLIGHT", &rearLightNodes}};
    for (const auto& [prefix, list] : lights) {
        if (WideStringStartsWith(tapeName, prefix)) {
            list->push_back({tape.position});
        }
    }
}

// The car divides by these and indexes the ratios by gear: a type that would
// make it do so with nothing is refused.
bool VehicleType::CheckSimulationNumbers(const WideString& path) const
{
    const auto wheelless = [](float radius) { return radius <= 0.0f; };
    const std::pair<bool, const wchar_t*> faults[] = {
        {gearCount < 1 || static_cast<int32_t>(gearRatios.size()) < gearCount + 2,
         L"gear ratios for reverse, neutral and every gear"},
        {torqueCurve.empty(), L"a torque curve"},
        {mass <= 0.0f, L"a mass"},
        {std::any_of(wheelRadii.begin(), wheelRadii.end(), wheelless), L"four wheels WHEEL_1 to WHEEL_4 with a radius"},
        {chassisBoxHalf.x <= 0.0f || chassisBoxHalf.y <= 0.0f || chassisBoxHalf.z <= 0.0f,
         L"a chassis part CAR above its wheels"},
        {engine1PitchRpm <= 0.0f || engine2PitchRpm <= 0.0f, L"engine pitch speeds"},
        {crossfadeLowRpm == crossfadeHighRpm, L"an engine cross-fade range"},
    };
    for (const auto& [fault, wanted] : faults) {
        if (fault) {
            LogHub::PrintError("%s is not a usable vehicle: it lacks %s", path.c_str(), wanted);
            return false;
        }
    }
    return true;
}

void VehicleType::DrawModel(const Matrix44& transform, int32_t pass, Model& model) const
{
    Matrix44 standing = transform;
    standing.SetRow(3, transform.GetRow(3) + Vec3{0.0f, chassisBoxHalf.y - chassisBoxCentre.y, 0.0f});
    model.Render(standing, pass, 0);
}
