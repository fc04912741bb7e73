#pragma once
// Everything a car does for the eye: whether a camera sees it (and, for the
// active camera, the shadow quad under it and its light halos), the drawing
// of its chassis or wreck model with turning wheels, the pose it is drawn
// with, and its answers to the game camera and to weapons seeking a target.

#include "game/vehicles/CarLightHalos.h"
#include "game/vehicles/CarLinks.h"

#include <array>
#include <cstdint>

class Model;
class dcCar;

// Kind words of a chassis model's parts, set once per model.
enum CarPartKind : int32_t {
    kCarPartNone = 0,
    // 1 to 4: wheel n.
    kCarPartDoor = 5,
    kCarPartDamage = 6,
    kCarPartFakeWheel = 0x10000,   // or-ed with n: posed like wheel n
};

// Sets the kind word of every part once; the model's own word records that it was done.
void ClassifyCarModelParts(Model& model);

class dcCarLook : public CarLook {
public:
    // Camera modes the car answers with its type's presets.
    static constexpr int32_t kPresetModes = VehicleType::kCameraCount;
    // Below this squared speed the camera films along the car's own axis.
    static constexpr float kSlowSpeedSquared = 20000.0f;
    // Beyond the box's half diagonal plus this, a camera does not see the car.
    static constexpr float kCullReach = 3000.0f;

    explicit dcCarLook(dcCar& car);

    void OnCamOrientation(const dcCamOrientation& message) override;
    void OnVisTest(const dcVisTest& message) override;
    void OnRender(const dcRender& message) override;
    void OnTarget(const dcTargetMessage& message) override;
    void OnCamModeOverride(const dcCamModeOverride& message) override;
    void OnCamMode(const dcCamMode& message) override;
    void UpdateLights(float dt) override;
    Matrix44 GetRenderMatrix() const override;

    const CarLightHalos& GetLights() const { return lights_; }
    // The model drawn at the car's health: the wreck, the first chassis model, or the damaged one.
    Model* ChooseModel() const;

private:
    bool IsFilmedFromInside() const;
    // The four corners under the wheels; false when an airborne wheel has no ground below.
    bool FindShadowCorners(const Matrix44& drawn, std::array<Vec3, 4>& corners) const;
    void PoseWheels(Model& model) const;

    dcCar& car_;
    CarLightHalos lights_;
};

// The car's look is made with every car from now on.
void InstallCarLook();
