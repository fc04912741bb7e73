#include "game/world/dcEntityCamera.h"

#include "engine/audio/AudioDevice.h"
#include "engine/core/FrameMessages.h"
#include "engine/core/ProgramState.h"
#include "engine/core/dcEngine.h"
#include "engine/input/InputSystem.h"
#include "engine/physics/PhysicsMessages.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/video/VideoDevice.h"
#include "game/world/CameraMessages.h"
#include "game/world/GameMessages.h"
#include "game/world/GameModule.h"
#include "game/world/dcWorldGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kProbeStartLength = 1.0f;
// The own preset of modes 10 and 11 stands closer than a file's default.
constexpr float kOwnPresetDistance = 10.0f;
// The eye eases by turn rate x this x step per update.
constexpr float kTurnScale = 4.0f;
// Looking over an area: from this high above the horizon, with room around
// it, and never closer than for an area of this radius.
constexpr float kOverviewElevation = kPi / 4.0f;
constexpr float kOverviewMargin = 1.1f;
constexpr float kSmallestOverviewRadius = 100.0f;

Quaternion RotationLookingAlong(const Vec3& backwards)
{
    Matrix44 frame;
    frame.FromForward(backwards);
    return Quaternion::FromMatrix(frame);
}

} // namespace

dcEntityCamera::dcEntityCamera() : probe_(kProbeStartLength)
{
    Handles<dcUserInput, &dcEntityCamera::OnUserInput>();
    Handles<dcFinalUpdate, &dcEntityCamera::OnFinalUpdate>();
    Handles<dcContact, &dcEntityCamera::OnContact>();
    SetFarPlane(kFarDistance);
    probe_.SetOwner(this);
    probe_.SetParams(false, false);
    ownPreset_.distance = kOwnPresetDistance;
    ownPreset_.showTarget = 1;
    ownPreset_.fullRotation = 1;
}

dcEntityCamera::~dcEntityCamera()
{
    GameModule* game = GameModule::Get();
    if (game && game->GetActiveCamera() == this) {
        game->SetActiveCamera(nullptr);
    }
}

void dcEntityCamera::Update()
{
    const bool free = mode_ == kModeFree;
    view_ = BuildViewMatrix(free ? savedPosition_ : GetPosition(), free ? savedOrientation_ : orientation_, scale_);
    BuildProjection();
    frustum_.FromViewProjection(view_, projection_);
    ComputeFrustumCorners(corners_);
}

void dcEntityCamera::SetSavedPose(const Vec3& position, const Quaternion& orientation)
{
    savedPosition_ = position;
    savedOrientation_ = orientation;
}

// The stored orientation is the conjugate of the camera's turn in the world,
// whose third axis points from what it looks at back to the camera.
void dcEntityCamera::LookAt(const Vec3& point)
{
    Vec3 backwards = GetPosition() - point;
    backwards.Normalize();
    orientation_ = Quaternion::Conjugate(RotationLookingAlong(backwards));
}

void dcEntityCamera::LookOver(const BoundingBox& area)
{
    const Vec3& half = area.halfExtents;
    const float radius = std::max(std::sqrt(half.x * half.x + half.z * half.z), kSmallestOverviewRadius);
    const float distance = kOverviewMargin * radius / std::sin(GetFov() * 0.5f);
    const Vec3 offset{0.0f, distance * std::sin(kOverviewElevation), -distance * std::cos(kOverviewElevation)};
    SetPosition(area.centre + offset);
    LookAt(area.centre);
    SetSavedPose(GetPosition(), orientation_);
}

void dcEntityCamera::OnUserInput(const dcUserInput&)
{
    InputSystem* input = dcEngine::Instance().GetInputSystem();
    if (!testMode || !active_ || !input) {
        return;
    }
    if (input->IsDown(kKeyFree)) {
        mode_ = kModeFree;
    }
    if (input->IsDown(kKeyOverviewFirst) && input->IsDown(kKeyOverviewSecond)) {
        mode_ = kModeOverview;
    }
}

void dcEntityCamera::OnFinalUpdate(const dcFinalUpdate& message)
{
    if (active_) {
        FollowScreen();
    }
    SetOrthographic(mode_ == kModeOverview);
    const bool still = mode_ == kModeOverview || mode_ == kModeStill || mode_ == kModeFree;
    if (!still) {
        if (FilmTarget(message.step)) {
            ProbeWalls();
        } else {
            mode_ = kModeStill;
        }
    }
    if (mode_ == kModeFree) {
        SetPosition(savedPosition_);
        orientation_ = savedOrientation_;
    } else {
        SetSavedPose(GetPosition(), orientation_);
    }
    if (active_) {
        PlaceListener();
    }
}

bool dcEntityCamera::FilmTarget(float step)
{
    Scene* scene = GetScene();
    dcCamOrientation target{mode_, {}, {}, {}, {}};
    if (!scene || SendToEntity(*scene, targetId_, target) == 0) {
        return false;
    }
    const dcCamModeOverride modeAsked{mode_};
    SendToEntity(*scene, targetId_, modeAsked);
    const int32_t mode = modeAsked.mode;
    if (mode == kModeLookAt) {
        LookAt(target.anchor);
        showTarget_ = 1;
        return true;
    }
    CameraPreset preset = ownPreset_;
    bool answered = true;
    if (mode != kModeOwnPreset && mode != kModeOwnPresetWorld) {
        dcCamMode asked{};
        asked.preset.mode = mode;
        answered = SendToEntity(*scene, targetId_, asked) != 0;
        preset = asked.preset;
    }
    showTarget_ = preset.showTarget;
    if (mode == kModeAttached || !answered) {
        SetPosition(target.anchor);
        orientation_ = target.body;
        focus_ = target.anchor;
        return true;
    }
    Follow(target, preset, mode, step);
    return true;
}

void dcEntityCamera::Follow(const dcCamOrientation& target, const CameraPreset& preset, int32_t mode, float step)
{
    Matrix44 frame = mode == kModeOwnPresetWorld ? kIdentityMatrix : Quaternion::ToTransform(target.body);
    if (preset.fullRotation == 0) {
        // Only the target's heading: the frame turned level, looking back along it.
        Vec3 heading = Vec3::TransformDirection({0.0f, 0.0f, -1.0f}, frame);
        heading.y = 0.0f;
        heading.Normalize();
        frame = kIdentityMatrix;
        frame.FromForward(heading);
    }
    const Quaternion current = Quaternion::Conjugate(orientation_);
    Quaternion relative = preset.rotation;
    const GameModule* game = GameModule::Get();
    if (game && game->IsBindingDown(kLookBackBinding)) {
        relative.ApplyRotationY(kPi);
    }
    const Quaternion goal = Quaternion::Multiply(relative, Quaternion::FromMatrix(frame));
    const Quaternion turned = Quaternion::Slerp(current, goal, preset.turnRate * kTurnScale * step);
    focus_ = target.anchor + Vec3::TransformDirection(preset.focusOffset, frame);
    SetPosition(focus_ + Vec3::TransformDirection({0.0f, 0.0f, preset.distance}, Quaternion::ToTransform(turned)));
    orientation_ = Quaternion::Conjugate(turned);
}

void dcEntityCamera::ProbeWalls()
{
    GameModule* game = GameModule::Get();
    const Vec3 reach = GetPosition() - focus_;
    const float length = reach.Length();
    if (!game || !(length > 0.0f)) {
        return;
    }
    dcWorldGeometry& walls = game->GetWorld().GetGeometry();
    if (!walls.GetWorld()) {
        return;   // no world loaded
    }
    probe_.Set(focus_, reach * (1.0f / length));
    probe_.SetLength(length);
    PhysicsWorld::TestPair(walls.GetWorld(), probe_, walls);
}

// Each wall point the probe meets pulls the eye in front of it, when the eye
// stood farther from the target.
void dcEntityCamera::OnContact(const dcContact& message)
{
    message.accept = 0;
    Scene* scene = GetScene();
    dcOrientation target{};
    if (scene) {
        SendToEntity(*scene, targetId_, target);
    }
    Vec3 towardsWall = message.position - target.position;
    towardsWall.Normalize();
    const Vec3 clear = message.position - towardsWall * kWallClearance;
    if ((GetPosition() - target.position).Length() > (clear - target.position).Length()) {
        SetPosition(clear);
    }
}

void dcEntityCamera::FollowScreen()
{
    const VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    if (video) {
        SetViewport({0, 0, video->GetBackBufferWidth(), video->GetBackBufferHeight()});
    }
}

void dcEntityCamera::PlaceListener() const
{
    const AudioDevice* audio = dcEngine::Instance().GetAudioDevice();
    ListenerInterface* listener = audio ? audio->GetListener() : nullptr;
    if (!listener) {
        return;
    }
    Quaternion ears = savedOrientation_;
    ears.ApplyRotationY(kPi);
    listener->SetListenerPosition(savedPosition_);
    listener->SetListenerOrientation(ears);
}
