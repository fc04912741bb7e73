#pragma once
// One kind of vehicle of the catalogue, from its ".TXC" file and the models,
// camera presets and sounds in the folder of the same name: the models the
// traffic draws, the wheel and light geometry, the mount points and a few
// display numbers. Loaded once during loading and never changed afterwards;
// every traffic car built from it shares it.
// Vehicle space: x to the side, y up, forward along -z.

#include "engine/files/WideString.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"
#include "game/vehicles/VehicleType.h"
#include "game/world/CameraPreset.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class Model;
class Stream;
class ShaderVariableBlock;

// A lamp point: position, then red, green, blue and alpha.
using TypeLight = VehicleLightNode;

class TrafficType : public VehicleMounts {
public:
    static constexpr int32_t kWheelCount = 4;
    static constexpr int32_t kDoorCount = 3;
    static constexpr int32_t kCameraCount = 10;
    static constexpr int32_t kStatCount = 5;

    // Flag bits, tested on the listed file name.
    static constexpr int32_t kFlagTraffic = 0x01;
    static constexpr int32_t kFlagPolice = 0x02;
    static constexpr int32_t kFlagCivilian = 0x04;
    static constexpr int32_t kFlagPlayable = 0x08;
    static constexpr int32_t kFlagT32 = 0x10;
    static constexpr int32_t kFlagAmbulance = 0x20;
    static constexpr int32_t kFlagNoDamage = 0x40;   // traffic cars of this kind take no damage

    // Loads "Vehicles\<fileName>" (traffic off) or "Vehicles\Traffic\<fileName>"
    // and what lies beside it. A file too short or without "TX " leaves only
    // the name and its hash.
    TrafficType(const WideString& fileName, bool traffic);
    ~TrafficType();
    TrafficType(const TrafficType&) = delete;
    TrafficType& operator=(const TrafficType&) = delete;

    int32_t nameHash = 0;
    WideString name;          // the listed file name without its extension, case as listed
    WideString displayName;   // as stored in the file
    std::vector<std::unique_ptr<Model>> chassisModels;
    std::vector<std::unique_ptr<Model>> lodModels;
    std::unique_ptr<Model> wreckModel;
    std::vector<std::unique_ptr<Model>> doorModels;
    std::unique_ptr<Model> frontWheelModel;
    std::unique_ptr<Model> backWheelModel;
    float typeValue1 = 0.0f;
    float typeValue2 = 0.0f;
    float typeValue3 = 0.0f;
    float typeValue4 = 0.0f;
    float typeValue5 = 0.0f;
    float typeValue6 = 0.0f;
    float typeValue7 = 0.0f;
    float typeValue8 = 0.0f;
    int32_t typeValue9 = 0;
    float typeValue10 = 0.0f;
    float typeValue11 = 0.0f;
    float typeValue12 = 0.0f;
    float typeValue13 = 0.0f;
    float typeValue14 = 0.0f;
    float typeValue15 = 0.0f;
    float typeValue16 = 0.0f;
    std::array<Vec3, kWheelCount> wheelPositions{};   // front pair (0, 1), then the rear pair
    Vec3 frontAxle;
    Vec3 rearAxle;
    Vec3 axleCentre;
    std::array<Vec3, kDoorCount> doorPositions{};
    Vec3 selectCameraPosition;
    Quaternion selectCameraRotation;
    Vec3 modelBoxCentre;   // of the first chassis model
    Vec3 modelBoxHalf;
    Vec3 chassisBoxCentre;
    Vec3 chassisBoxHalf;
    std::array<float, kWheelCount> wheelRadii{};
    std::vector<TypeLight> frontLamps;
    std::vector<TypeLight> rearLamps;
    std::vector<TypeLight> extraLamps;
    int32_t statInt = 0;
    std::array<float, kStatCount> statValues{};
    int32_t flags = 0;
    std::array<CameraPreset, kCameraCount> cameras{};

private:
    bool ReadFile(const WideString& folder, const WideString& fileName);
    void ReadContents(Stream& file, int32_t version);
    void ReadNumbers(Stream& file, int32_t version);
    bool ReadWheelPairs(Stream& file, int32_t first);
    void ComputeAxles();
    void LoadModels(const WideString& folder, bool traffic);
    void FitStreetBox();
    void FitTrafficBox();
    void PreloadSounds() const;
    void SetFlags(const WideString& fileName, bool traffic);
    void ReadNodes();
    void ApplyNode(const WideString& upperName, const Vec3& position, const Vec3& tapeEnd);
    void LoadCameras(const WideString& folder, bool traffic);
};
