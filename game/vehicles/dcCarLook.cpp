#include "game/vehicles/dcCarLook.h"

#include "engine/core/dcEngine.h"
#include "engine/math/BoundingBox.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Scalar.h"
#include "engine/video/VideoDevice.h"
#include "game/vehicles/dcCar.h"
#include "game/weapons/TargetMessage.h"
#include "game/weapons/dcCarShadow.h"
#include "game/weapons/dcViewRay.h"
#include "game/world/GameModule.h"
#include "game/world/dcEntityCamera.h"
#include "render/models/Model.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr int32_t kWheelPartMask = 0xFFFF;
// A car below this share of its health shows its damaged model.
constexpr float kIntactShare = 0.75f;
// A wheel this long off the ground (seconds) finds its shadow corner with a ray.
constexpr float kAirborneAge = 0.05f;
constexpr float kShadowRayLength = 1000.0f;
// Shadow corners stand out past the box by this share of the smaller extent, and this far over the ground.
constexpr float kShadowSpread = 0.1f;
constexpr float kShadowLift = 1.0f;
// The camera looks between the direction of travel and the car's own axis.
constexpr float kAxisPull = 0.25f;
// The camera mode that drives with the drawn car, wheelie and lean included.
constexpr int32_t kRiderMode = 3;
// A camera following a car that fell out of the level sees it from at least this height.
constexpr float kKillFloorCameraHeight = 100.0f;

dcEntityCamera* ActiveCamera()
{
    GameModule* game = GameModule::Get();
    return game ? game->GetActiveCamera() : nullptr;
}

int32_t PartKindOf(const WideString& upperName)
{
    for (int32_t n = 1; n <= VehicleType::kWheelCount; ++n) {
        if (upperName == L"WHEEL_" + std::to_wstring(n)) {
            return n;
        }
        if (upperName == L"FAKEWHEEL_" + std::to_wstring(n)) {
            return kCarPartFakeWheel | n;
        }
    }
    if (WideStringStartsWith(upperName, L"DAMAGE_DOOR")) {
        return kCarPartDoor;
    }
    if (WideStringStartsWith(upperName, L"DAMAGE_")) {
        return kCarPartDamage;
    }
    return -1;
}

} // namespace

void ClassifyCarModelParts(Model& model)
{
    if (model.userValue != 0) {
        return;
    }
    for (MeshNode& node : model.GetNodes()) {
        WideString name = node.name;
        WideStringToUpper(name);
        // Parts of no kind keep the word they have.
        if (const int32_t kind = PartKindOf(name); kind >= 0) {
            node.userValue = kind;
        }
    }
    model.userValue = 1;
}

dcCarLook::dcCarLook(dcCar& car) : car_(car), lights_(car.GetType()) {}

Matrix44 dcCarLook::GetRenderMatrix() const
{
    return car_.GetRenderMatrix(true, true, false);
}

Model* dcCarLook::ChooseModel() const
{
    if (car_.GetHealth() <= 0.0f) {
        return car_.GetWreckModel();
    }
    const auto& chassis = car_.GetChassisModels();
    if (chassis.empty()) {
        return nullptr;
    }
    const bool intact = car_.GetHealth() > kIntactShare * car_.GetMaxHealth();
    return chassis[intact ? 0 : std::min<size_t>(1, chassis.size() - 1)].get();
}

// A camera that films the car (or its player) with the target hidden sits
// inside it: no camera draws the car then.
bool dcCarLook::IsFilmedFromInside() const
{
    const dcEntityCamera* camera = ActiveCamera();
    if (!camera || camera->ShowsTarget() || camera->GetTargetId() == 0) {
        return false;
    }
    const int32_t target = camera->GetTargetId();
    const CarLinks& links = GetCarLinks();
    const bool filmsPlayer = car_.player && links.playerIdOf && links.playerIdOf(*car_.player) == target;
    return target == car_.GetId() || filmsPlayer;
}

void dcCarLook::OnVisTest(const dcVisTest& message)
{
    if (car_.hidden) {
        message.visible = 0;
        return;
    }
    const bool activeCamera = message.camera == ActiveCamera() && message.camera;
    if (IsFilmedFromInside()) {
        message.visible = 0;
        if (activeCamera) {
            car_.visibleToCamera = false;
        }
        return;
    }
    const BoundingBox bounds = car_.GetChassisGeom().GetBounds();
    const Vec3 away = bounds.centre - message.camera->GetPosition();
    const float reach = bounds.halfExtents.Length() + kCullReach;
    const bool seen = Vec3::Dot(away, away) <= reach * reach && message.camera->GetFrustum().IsBoxVisible(bounds);
    message.visible = seen ? 1 : 0;
    if (seen && car_.GetHealth() > 0.0f && !car_.effectsSuppressed && activeCamera) {
        const Matrix44 drawn = GetRenderMatrix();
        std::array<Vec3, 4> corners;
        if (dcCarShadow* shadow = dcCarShadow::Get(); shadow && FindShadowCorners(drawn, corners)) {
            shadow->AddQuad(corners);
        }
        const auto& chassis = car_.GetChassisModels();
        if (!chassis.empty() && car_.currentModel == chassis.front().get()) {
            lights_.Place(drawn);
        }
    }
    if (activeCamera) {
        car_.visibleToCamera = seen;
    }
    car_.effectsSuppressed = false;
}

bool dcCarLook::FindShadowCorners(const Matrix44& drawn, std::array<Vec3, 4>& corners) const
{
    const Matrix44 toCar = Matrix44::InvertRigid(drawn);
    const VehicleType& type = car_.GetType();
    for (int32_t i = 0; i < VehicleType::kWheelCount; ++i) {
        const dcCar::Wheel& wheel = car_.GetWheel(i);
        const Vec3 contact = wheel.sphere.GetPosition() - Vec3{0.0f, wheel.sphere.GetRadius(), 0.0f};
        const Vec3 local = Vec3::TransformPoint(contact, toCar);
        Vec3 corner{FloatSign(local.x) * type.chassisBoxHalf.x + type.chassisBoxCentre.x, local.y,
                    FloatSign(local.z) * type.chassisBoxHalf.z + type.chassisBoxCentre.z};
        const float spread = kShadowSpread * std::min(std::fabs(corner.x), std::fabs(corner.z));
        corner.x += FloatSign(corner.x) * spread;
        corner.z += FloatSign(corner.z) * spread;
        corner = Vec3::TransformPoint(corner, drawn);
        if (wheel.contactAge > kAirborneAge) {
            dcViewRay* ray = dcViewRay::Get();
            if (!ray) {
                return false;
            }
            ray->Set(corner, {0.0f, -1.0f, 0.0f});
            if (!ray->Cast(kShadowRayLength, corner)) {
                return false;
            }
        }
        corner.y += kShadowLift;
        corners[static_cast<size_t>(i)] = corner;
    }
    return true;
}

void dcCarLook::OnRender(const dcRender& message)
{
    Model* model = ChooseModel();
    if (!model || (model->GetPassMask(message.reserved) & message.passBit) == 0) {
        return;
    }
    if (const FuelGauge* gauge = car_.GetFuelGauge()) {
        model->SetFloat(car_.GetBoostFaderVariable(), gauge->GetBoostFader());
    }
    ClassifyCarModelParts(*model);
    car_.currentModel = model;
    PoseWheels(*model);
    VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    if (video) {
        video->SetMeasuredObject(message.camera, car_.GetChassisGeom().GetBounds());
    }
    model->Render(GetRenderMatrix(), message.pass, message.reserved);
    if (video) {
        video->SetMeasuredObject(nullptr, BoundingBox{});
    }
}

// The wheel parts turn and steer in place; they keep their positions in the model.
void dcCarLook::PoseWheels(Model& model) const
{
    for (MeshNode& node : model.GetNodes()) {
        const int32_t wheel = node.userValue & kWheelPartMask;
        if (wheel >= 1 && wheel <= VehicleType::kWheelCount) {
            node.rotation = Quaternion::FromMatrix(car_.GetWheelMatrix(wheel - 1));
        }
    }
}

void dcCarLook::OnCamOrientation(const dcCamOrientation& message)
{
    const Quaternion orientation = car_.GetOrientation();
    const Matrix44 body = Quaternion::ToTransform(orientation);
    Matrix44 toCar;
    Matrix44::TransposeRotation(body, toCar);
    message.anchor = car_.GetPosition();
    message.body = orientation;
    // Along the travel (against it when reversing); along the car's own axis when slow.
    Vec3 travel = -Vec3::TransformDirection(car_.GetVelocity(), toCar);
    if (car_.gear == -1) {
        travel = -travel;
    }
    if (Vec3::Dot(travel, travel) < kSlowSpeedSquared) {
        travel = {0.0f, 0.0f, 1.0f};
    }
    travel.Normalize();
    Vec3 look = LerpVec3(Vec3::TransformDirection(travel, body), body.GetRow(2), kAxisPull);
    look.Normalize();
    Vec3 up = body.GetRow(1);
    up.y = std::fabs(up.y);
    Matrix44 view;
    view.FromForwardUp(look, up);
    message.view = Quaternion::FromMatrix(view);
    if (message.mode == kRiderMode) {
        message.anchor = GetRenderMatrix().GetRow(3);
        message.body = Quaternion::FromMatrix(car_.GetRenderMatrix(true, true, true));
        message.view = message.body;
    }
    message.motion = Vec3::TransformDirection(car_.smoothedCarVelocity, Quaternion::ToTransform(message.body));
}

// Modes past the type's presets (the camera's own) get the framing as it was asked.
void dcCarLook::OnCamMode(const dcCamMode& message)
{
    const int32_t mode = message.preset.mode;
    if (mode >= 0 && mode < kPresetModes) {
        message.preset = car_.GetType().cameras[static_cast<size_t>(mode)];
    }
}

void dcCarLook::OnCamModeOverride(const dcCamModeOverride& message)
{
    if (car_.GetHealth() > 0.0f) {
        return;
    }
    if (message.mode != dcEntityCamera::kModeStill) {
        message.mode = dcEntityCamera::kModeLookAt;
    }
    dcEntityCamera* camera = ActiveCamera();
    if (car_.killedByKillFloor && camera) {
        Vec3 position = camera->GetPosition();
        position.y = std::max(position.y, kKillFloorCameraHeight);
        camera->SetPosition(position);
    }
}

void dcCarLook::OnTarget(const dcTargetMessage& message)
{
    message.geometry = &car_.GetChassisGeom();
    message.position = car_.GetPosition();
    message.rotation = car_.GetOrientation();
    message.velocity = car_.GetVelocity();
    message.health = car_.GetHealth();
    message.maxHealth = car_.GetMaxHealth();
    message.radius = car_.GetChassisGeom().GetHalfExtents().Length();
    message.priority = car_.targetPriority;
}

void dcCarLook::UpdateLights(float dt)
{
    if (const dcEntityCamera* camera = ActiveCamera()) {
        lights_.Step(car_, *camera, dt);
    }
}

void InstallCarLook()
{
    GetCarLinks().makeLook = [](dcCar& car) -> std::unique_ptr<CarLook> { return std::make_unique<dcCarLook>(car); };
}
