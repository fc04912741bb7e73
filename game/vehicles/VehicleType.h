#pragma once
// The shared, read-only description of one kind of vehicle: its drivetrain
// and handling numbers from "Vehicles\<NAME>.DCC", its model and skin files,
// the chassis and wheel geometry and the mount points read off its first
// chassis model, and its four camera presets. Every type is loaded once into
// one list that lives for the whole run; cars, the car-creating mission node
// and the front end find a type by its name hash or pick one at random.
// Car space: x to the side, y up, forward along -z.

#include "engine/files/WideString.h"
#include "engine/math/Vec3.h"
#include "engine/video/TextureResource.h"
#include "game/vehicles/VehicleMounts.h"
#include "game/world/CameraPreset.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

class Model;
class Stream;
struct Matrix44;
struct MeshNode;
struct Tape;

struct VehicleSkin {
    WideString name;                            // "_" and the skin file's name without ".DCT"; empty for the default
    std::unique_ptr<TextureResource> texture;   // none for the default skin
};

struct VehicleLightNode {
    Vec3 position;
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
};

class VehicleType : public VehicleMounts {
public:
    static constexpr int32_t kWheelCount = 4;
    static constexpr int32_t kCameraCount = 4;

    // An empty type: every number 0, every list empty, the presets as their reader starts them.
    VehicleType() = default;

    // Fills the type from "Vehicles\<fileName>" and the files beside it.
    // False, logged with the file's name, for a type no car could be built
    // from: a file too short, not a "DC2" file, with counts past its end or
    // drivetrain arrays that do not fit its gears, no chassis model, or a
    // number the simulation divides by (mass, wheel radius, engine pitch,
    // the width of the engine cross-fade) at zero.
    bool Load(const WideString& fileName);
    // Draws the model standing on the ground at the matrix (car previews in menus).
    void DrawModel(const Matrix44& transform, int32_t pass, Model& model) const;

    int32_t nameHash = 0;
    WideString name;             // the file name without ".DCC", upper-cased
    int32_t displayIndex = 0;    // for the front end
    int32_t gearCount = 0;
    std::vector<float> gearRatios;   // by gear + 1: [0] reverse, [1] neutral, [2] first gear, ...
    float finalDrive = 0.0f;
    float driveEfficiency = 0.0f;
    std::vector<float> torqueCurve;   // at 0, 500, 1000, ... rpm
    float torqueScale = 0.0f;
    float rollingResistance = 0.0f;
    float airDrag = 0.0f;
    float angularDamping = 0.0f;   // of the angular velocity, per second
    float tuningA = 0.0f;
    float mass = 0.0f;
    float brakeForce = 0.0f;
    float wheelSoftErp = 0.0f;
    float wheelSoftCfm = 0.0f;   // used x 10/99
    float maxSteerAngle = 0.0f;  // radians, at full lock
    float tuningB = 0.0f;
    float tuningC = 0.0f;
    float tuningD = 0.0f;
    float tuningE = 0.0f;

    std::vector<WideString> chassisFiles;   // "Vehicles\<NAME>\Chassis*.DCM"
    std::vector<WideString> lodFiles;       // "Vehicles\<NAME>\LOD*.DCM"
    WideString wreckFile;                   // "Vehicles\<NAME>\Stuk.DCM"
    std::vector<VehicleSkin> skins;         // at least the default

    Vec3 chassisBoxCentre;
    Vec3 chassisBoxHalf;
    std::array<Vec3, kWheelCount> wheelMounts{};
    std::array<float, kWheelCount> wheelRadii{};
    Vec3 frontAxle;
    Vec3 rearAxle;
    Vec3 axleCentre;

    float engine1PitchRpm = 0.0f;
    float engine2PitchRpm = 0.0f;
    float crossfadeLowRpm = 0.0f;
    float crossfadeHighRpm = 0.0f;
    float crossfadeLowMix = 0.0f;
    float crossfadeHighMix = 0.0f;

    float infoA = 0.0f;
    float infoB = 0.0f;
    float infoC = 0.0f;
    float infoMass = 0.0f;
    int32_t infoD = 0;

    std::vector<VehicleLightNode> headlightNodes;
    std::vector<VehicleLightNode> brakeLightNodes;
    std::vector<VehicleLightNode> rearLightNodes;
    std::array<CameraPreset, kCameraCount> cameras{};   // presets 1 to 4

private:
    bool ReadNumbers(Stream& file);
    // The values from the file when present, else the defaults, in order.
    static void ReadGatedFloats(Stream& file, bool present, std::initializer_list<float*> values,
                                std::initializer_list<float> defaults);
    void FindModelFiles();
    void ReadProbeModel();
    void ReadChassisParts(const std::vector<MeshNode>& parts);
    void ReadLightTape(const WideString& tapeName, const Tape& tape);
    bool CheckSimulationNumbers(const WideString& path) const;
};

// Every "Vehicles\*.DCC", once; later calls do nothing while the list holds
// types. Types that fail to load are left out of the list.
void LoadVehicleTypes();
// Empties the list, with the skin textures, while the video device lives.
void ReleaseVehicleTypes();
// The list, in the order the file sources list the files.
std::vector<std::unique_ptr<VehicleType>>& VehicleTypes();
// The first type with the hash; otherwise a random type when asked for one,
// else -1 (also -1 for an empty list).
int32_t FindVehicleTypeIndex(int32_t nameHash, bool randomFallback);
int32_t FindVehicleTypeIndexByName(const WideString& name, bool randomFallback);
// Crc32XorLength from seed 0 of the upper-cased name's UTF-16LE bytes.
int32_t HashNameNoCase(const WideString& name);
