#include "game/vehicles/TrafficType.h"

#include "engine/audio/AudioDevice.h"
#include "engine/core/LogHub.h"
#include "engine/core/dcEngine.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/Stream.h"
#include "engine/math/BoundingBox.h"
#include "engine/math/Matrix44.h"
#include "game/world/GameModule.h"
#include "render/models/Model.h"
#include "render/models/ModelFileReading.h"

#include <cmath>
#include <numbers>

namespace {

constexpr int32_t kSmallestTypeFile = 10;
constexpr int32_t kCurrentVersion = 48;
constexpr int32_t kOldVersion = 32;   // a list of texts after the name, no lamp lists
constexpr int32_t kFirstVersion = 16; // one flag byte, no typeValue13
constexpr float kFirstVersionValue13 = 2.5f;
constexpr int32_t kWheelPairBytes = 24;
constexpr int32_t kLampRecordBytes = 15;
constexpr int32_t kSmallestTextBytes = 4;
// Street vehicles stand this much lower than their file says.
constexpr float kStreetWheelDrop = 0.5f;
constexpr float kNoWheelTop = -10000000.0f;
const Vec3 kDefaultLeftDoor{20.0f, 0.0f, 8.0f};
const Vec3 kDefaultRightDoor{-20.0f, 0.0f, 8.0f};

const wchar_t* const kPreloadedSounds[] = {L"Vehicles\\%s\\Idle.wav", L"Vehicles\\%s\\Engine.wav",
                                           L"Vehicles\\%s\\Slip.wav", L"Vehicles\\%s\\Gear.wav"};


Vec3 Midpoint(const Vec3& a, const Vec3& b)
{
    return (a + b) * 0.5f;
}

std::vector<TypeLight> ReadLamps(Stream& file)
{
    const int32_t count = file.ReadCount(kLampRecordBytes);
    if (file.HasErrors()) {
        return {};
    }
    std::vector<TypeLight> lamps(static_cast<size_t>(count));
    for (TypeLight& lamp : lamps) {
        lamp.position = ReadVec3(file);
        for (int32_t c = 0; c < 3; ++c) {
            lamp.colour[c] = static_cast<float>(static_cast<int8_t>(file.ReadByte()));
        }
        lamp.colour[3] = 1.0f;
    }
    return lamps;
}

// A model of the folder, bound to the world's shader variables.
std::unique_ptr<Model> LoadModel(const WideString& path)
{
    auto model = std::make_unique<Model>(path, WideString());
    GameModule* game = GameModule::Get();
    model->SetParent(game ? &game->GetWorld() : nullptr);
    return model;
}

std::vector<std::unique_ptr<Model>> LoadFolderModels(const WideString& folder, const WideString& name,
                                                     const wchar_t* pattern)
{
    WideString wanted;
    FormatWideString(wanted, "%s\\%s\\%s", folder.c_str(), name.c_str(), pattern);
    std::vector<std::unique_ptr<Model>> models;
    for (const WideString& file : ListFiles(wanted)) {
        WideString path;
        FormatWideString(path, "%s\\%s\\%s", folder.c_str(), name.c_str(), file.c_str());
        models.push_back(LoadModel(path));
    }
    return models;
}

float HalfHeight(const Model* model)
{
    return model ? model->GetBoundsHalfExtents().y : 0.0f;
}


} // namespace

TrafficType::TrafficType(const WideString& fileName, bool traffic)
{
    const WideString folder = traffic ? L"Vehicles\\Traffic" : L"Vehicles";
    name = WideStringSubstr(fileName, 0, std::max(WideStringTextLength(fileName) - 4, 0));
    nameHash = HashNameNoCase(name);
    if (!ReadFile(folder, fileName)) {
        return;
    }
    if (!traffic) {
        for (Vec3& wheel : wheelPositions) {
            wheel.y -= kStreetWheelDrop;
        }
    }
    ComputeAxles();
    LoadModels(folder, traffic);
    if (!chassisModels.empty()) {
        modelBoxCentre = chassisModels.front()->GetBoundsCentre();
        modelBoxHalf = chassisModels.front()->GetBoundsHalfExtents();
    }
    if (traffic) {
        FitTrafficBox();
    } else {
        FitStreetBox();
        PreloadSounds();
    }
    SetFlags(fileName, traffic);
    doorPositions[1] = kDefaultLeftDoor;
    doorPositions[2] = kDefaultRightDoor;
    ReadNodes();
    ReportMissingRocketTapes(name);
    LoadCameras(folder, traffic);
}

TrafficType::~TrafficType() = default;

bool TrafficType::ReadFile(const WideString& folder, const WideString& fileName)
{
    WideString path;
    FormatWideString(path, "%s\\%s", folder.c_str(), fileName.c_str());
    std::unique_ptr<Stream> file = OpenFile(path);
    char magic[3] = {};
    if (file->GetSize() < kSmallestTypeFile || file->Read(magic, 3) != 3 || magic[0] != 'T' || magic[1] != 'X' ||
        magic[2] != ' ') {
        return false;
    }
    const int32_t version = file->ReadInt32();
    if (version == kOldVersion) {
        LogHub::PrintError("Update car %s", fileName.c_str());
    } else if (version != kCurrentVersion) {
        LogHub::PrintError("Car %s is invalid", fileName.c_str());
    }
    ReadContents(*file, version);
    return true;
}

// What follows a damaged count or text is not where the file says it is:
// the type keeps what came before the damage.
void TrafficType::ReadContents(Stream& file, int32_t version)
{
    displayName = file.ReadText();
    if (version == kOldVersion) {
        const int32_t dropped = file.ReadCount(kSmallestTextBytes);
        for (int32_t i = 0; i < dropped; ++i) {
            file.ReadText();
        }
    }
    if (file.HasErrors()) {
        return;
    }
    ReadNumbers(file, version);
    doorPositions[0] = ReadVec3(file);
    if (!ReadWheelPairs(file, 0) || !ReadWheelPairs(file, 2) || version == kOldVersion) {
        return;
    }
    for (std::vector<TypeLight>* lamps : {&frontLamps, &rearLamps, &extraLamps}) {
        *lamps = ReadLamps(file);
        if (file.HasErrors()) {
            return;
        }
    }
}

void TrafficType::ReadNumbers(Stream& file, int32_t version)
{
    file.ReadByte();
    if (version != kFirstVersion) {
        file.ReadByte();
    }
    typeValue1 = file.ReadFloat() * 1.5f;
    const float b = file.ReadFloat();
    const float raised = std::pow(b, 1.5f) - 1.5f;   // NaN for a negative b, which then stays
    typeValue2 = raised >= b ? raised : b;
    typeValue3 = file.ReadFloat();
    typeValue4 = file.ReadFloat();
    typeValue5 = file.ReadFloat();
    typeValue6 = file.ReadFloat();
    typeValue7 = file.ReadFloat();
    typeValue8 = file.ReadFloat();
    typeValue9 = file.ReadInt32();
    typeValue10 = file.ReadFloat();
    typeValue11 = file.ReadFloat() * 1.5f;
    typeValue15 = file.ReadFloat() * 0.1f;
    file.ReadByte();
    typeValue14 = file.ReadFloat() * 0.2f;
    typeValue16 = file.ReadFloat();
    typeValue12 = file.ReadFloat() * 5.0f;
    typeValue13 = version == kFirstVersion ? kFirstVersionValue13 : file.ReadFloat();
}

// Every pair the file lists goes to the same two wheels, so the last one
// stays. False for a count the file cannot hold.
bool TrafficType::ReadWheelPairs(Stream& file, int32_t first)
{
    const int32_t pairs = file.ReadCount(kWheelPairBytes);
    if (file.HasErrors()) {
        return false;
    }
    for (int32_t i = 0; i < pairs; ++i) {
        wheelPositions[static_cast<size_t>(first)] = ReadVec3(file);
        wheelPositions[static_cast<size_t>(first + 1)] = ReadVec3(file);
    }
    return true;
}

void TrafficType::ComputeAxles()
{
    frontAxle = Midpoint(wheelPositions[0], wheelPositions[1]);
    rearAxle = Midpoint(wheelPositions[2], wheelPositions[3]);
    axleCentre = Midpoint(frontAxle, rearAxle);
}

void TrafficType::LoadModels(const WideString& folder, bool traffic)
{
    chassisModels = LoadFolderModels(folder, name, L"Chassis*.DCM");
    for (const std::unique_ptr<Model>& chassis : chassisModels) {
        chassis->AddVariable(L"BoostFader", 0, true);
    }
    lodModels = LoadFolderModels(folder, name, L"LOD*.DCM");
    WideString path;
    const wchar_t* frontWheel = traffic ? L"Wheel.DCM" : L"FrontWheel.DCM";
    const wchar_t* backWheel = traffic ? L"Wheel.DCM" : L"BackWheel.DCM";
    frontWheelModel = LoadModel(FormatWideString(path, "%s\\%s\\%s", folder.c_str(), name.c_str(), frontWheel));
    backWheelModel = LoadModel(FormatWideString(path, "%s\\%s\\%s", folder.c_str(), name.c_str(), backWheel));
    wreckModel = LoadModel(FormatWideString(path, "%s\\%s\\Stuk.DCM", folder.c_str(), name.c_str()));
    doorModels = LoadFolderModels(folder, name, L"Door*.DCM");
}

// The box's bottom rises to half a wheel above the highest wheel centre.
void TrafficType::FitStreetBox()
{
    flags &= ~kFlagTraffic;
    for (int32_t i = 0; i < kWheelCount; ++i) {
        wheelRadii[static_cast<size_t>(i)] = HalfHeight(i < 2 ? frontWheelModel.get() : backWheelModel.get());
    }
    float top = kNoWheelTop;
    for (int32_t i = 0; i < kWheelCount; ++i) {
        if (top < wheelPositions[static_cast<size_t>(i)].y) {
            top = wheelPositions[static_cast<size_t>(i)].y + wheelRadii[static_cast<size_t>(i)] / 2.0f;
        }
    }
    chassisBoxCentre = modelBoxCentre;
    chassisBoxHalf = modelBoxHalf;
    const float rise = (top - (modelBoxCentre.y - modelBoxHalf.y)) / 2.0f;
    if (rise > 0.0f) {
        chassisBoxCentre.y += rise;
        chassisBoxHalf.y -= rise;
    }
}

// Traffic models face the other way; the box stands on the front wheels'
// ground, and the lamps rise with the wheel radius.
void TrafficType::FitTrafficBox()
{
    flags |= kFlagTraffic;
    const float radius = HalfHeight(frontWheelModel.get());
    wheelRadii.fill(radius);
    const Matrix44 halfTurn = Matrix44::FromAxisAngleTranslation(kWorldUp, std::numbers::pi_v<float>, kZeroVector);
    const BoundingBox turned = BoundingBox::Transform({modelBoxCentre, modelBoxHalf}, halfTurn);
    Vec3 low = turned.centre - turned.halfExtents;
    const Vec3 high = turned.centre + turned.halfExtents;
    low.y = wheelPositions[0].y - radius;
    chassisBoxCentre = Midpoint(low, high);
    chassisBoxHalf = (high - low) * 0.5f;
    chassisBoxCentre.y += radius;
    for (std::vector<TypeLight>* lamps : {&frontLamps, &rearLamps, &extraLamps}) {
        for (TypeLight& lamp : *lamps) {
            lamp.position.y += radius;
        }
    }
}

// Asks for each sound once so that it is loaded before the first car needs it.
void TrafficType::PreloadSounds() const
{
    AudioDevice* audio = dcEngine::Instance().GetAudioDevice();
    if (!audio) {
        return;
    }
    audio->DestroyVoice(audio->Play(L"Audio\\Fire.wav", true, false, false));
    for (const wchar_t* pattern : kPreloadedSounds) {
        WideString sound;
        audio->DestroyVoice(audio->Play(FormatWideStringW(sound, pattern, name.c_str()), true, false, false));
    }
}

// Later bits read earlier ones.
void TrafficType::SetFlags(const WideString& fileName, bool traffic)
{
    WideString upper = fileName;
    WideStringToUpper(upper);
    if (WideStringStartsWith(upper, L"T32")) {
        flags |= kFlagT32;
    }
    if (WideStringStartsWith(upper, L"AMBU")) {
        flags |= kFlagAmbulance;
    }
    if (!traffic && WideStringStartsWith(upper, L"POLICE")) {
        flags |= kFlagPolice;
    }
    if (!traffic && (flags & (kFlagPolice | kFlagT32 | kFlagAmbulance)) == 0 && !WideStringStartsWith(upper, L"U")) {
        flags |= kFlagCivilian;
    }
    if ((flags & (kFlagPolice | kFlagCivilian)) != 0 || WideStringStartsWith(upper, L"U")) {
        flags |= kFlagPlayable;
    }
    if (WideStringEndsWith(upper, L"GRUMMER.TXC") || WideStringStartsWith(upper, L"TRUCK")) {
        flags |= kFlagNoDamage;
    }
}

void TrafficType::ReadNodes()
{
    if (chassisModels.empty()) {
        return;
    }
    for (const Tape& tape : chassisModels.front()->GetTapes()) {
        WideString upper = tape.name;
        WideStringToUpper(upper);
        ApplyNode(upper, tape.position, tape.second);
    }
}

// The catalogue's own tapes; the weapon and light mounts are read as the
// vehicle types read them.
void TrafficType::ApplyNode(const WideString& upperName, const Vec3& position, const Vec3& tapeEnd)
{
    ReadMountTape(upperName, position, tapeEnd, name);
    if (upperName == L"CARSELECTCAM") {
        Matrix44 rotation;
        rotation.FromForward(TapeDirection(position, tapeEnd));
        selectCameraPosition = position;
        selectCameraRotation = Quaternion::FromMatrix(rotation);
    }
    for (int32_t door = 0; door < kDoorCount; ++door) {
        WideString doorName;
        if (upperName == FormatWideString(doorName, "DOORPOS%d", door + 1)) {
            doorPositions[static_cast<size_t>(door)] = position;
        }
    }
}

// Only street vehicles report a missing preset; every preset that cannot be
// read keeps the reader's defaults.
void TrafficType::LoadCameras(const WideString& folder, bool traffic)
{
    for (int32_t d = 0; d < kCameraCount; ++d) {
        WideString path;
        FormatWideString(path, "%s\\%s\\%d.CAM", folder.c_str(), name.c_str(), d);
        cameras[static_cast<size_t>(d)] = CameraPreset::Load(path, !traffic);
    }
}
