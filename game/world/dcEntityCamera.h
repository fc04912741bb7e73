#pragma once
// The game's camera: an engine camera that is also a member of the game
// scene and films another member, its target (a car, a character). Once per
// fixed step it asks the target where it is and how it wants to be filmed,
// eases its turn towards the wanted one, stands back from a focus point near
// the target, and keeps out of walls with a ray against the world's mesh.
//
// Modes 0 to 8 are the target's own presets; the others are the camera's:
// it looks at the target (9), follows with its own preset in the target's
// frame (10) or the world's (11), sits where the target says (12), stands
// still (13, also when its target stops answering), looks over the level
// orthographically (14, test mode) or goes where the free-camera tool moves
// its saved pose (15, test mode).

#include "engine/core/MessageReceiver.h"
#include "engine/physics/RayGeom.h"
#include "game/world/CameraPreset.h"
#include "render/models/Camera.h"

#include <cstdint>

struct dcCamOrientation;
struct dcContact;
struct dcFinalUpdate;
struct dcUserInput;
class PhysicsGeom;

class dcEntityCamera : public Camera, public MessageReceiver {
    DC_RECEIVER(dcEntityCamera, MessageReceiver)
public:
    enum CameraMode : int32_t {
        kModeLookAt = 9,
        kModeOwnPreset = 10,
        kModeOwnPresetWorld = 11,
        kModeAttached = 12,
        kModeStill = 13,
        kModeOverview = 14,
        kModeFree = 15,
    };
    static constexpr float kFarDistance = 75000.0f;
    // Test-mode keys of the active camera (DirectInput codes): X for the free
    // camera, O and R together for the overview.
    static constexpr int32_t kKeyFree = 45;
    static constexpr int32_t kKeyOverviewFirst = 24;
    static constexpr int32_t kKeyOverviewSecond = 19;
    // The control binding that turns the eye to look behind the target.
    static constexpr int32_t kLookBackBinding = 4;
    // How far short of a wall the probe leaves the eye, towards the target.
    static constexpr float kWallClearance = 2.5f;

    dcEntityCamera();
    ~dcEntityCamera() override;

    // The view from the saved pose in the free mode, from the camera's own otherwise.
    void Update() override;

    void SetRotation(const Quaternion& orientation) { orientation_ = orientation; }
    // Stands above the area, turned to see all of it: where a camera that
    // films nobody starts.
    void LookOver(const BoundingBox& area);

    int32_t GetMode() const { return mode_; }
    void SetMode(int32_t mode) { mode_ = mode; }
    int32_t GetTargetId() const { return targetId_; }
    void SetTargetId(int32_t id) { targetId_ = id; }
    bool IsActive() const { return active_ != 0; }
    // The active camera's viewport follows the screen, and the ears follow it.
    void SetActive(bool active) { active_ = active ? 1 : 0; }
    bool ShowsTarget() const { return showTarget_ != 0; }
    const Vec3& GetFocus() const { return focus_; }
    CameraPreset& GetOwnPreset() { return ownPreset_; }
    const Vec3& GetSavedPosition() const { return savedPosition_; }
    const Quaternion& GetSavedOrientation() const { return savedOrientation_; }
    void SetSavedPose(const Vec3& position, const Quaternion& orientation);

protected:
    virtual void OnUserInput(const dcUserInput& message);
    virtual void OnFinalUpdate(const dcFinalUpdate& message);
    virtual void OnContact(const dcContact& message);

private:
    // Films the target for this update in mode w; false when it did not answer.
    bool FilmTarget(float step);
    void Follow(const dcCamOrientation& target, const CameraPreset& preset, int32_t mode, float step);
    // Turned so that the point lies straight ahead; the position stays.
    void LookAt(const Vec3& point);
    void ProbeWalls();
    void FollowScreen();
    void PlaceListener() const;

    RayGeom probe_;
    int32_t mode_ = 0;
    int32_t targetId_ = 0;
    Vec3 focus_;
    CameraPreset ownPreset_;
    uint8_t active_ = 0;
    uint8_t showTarget_ = 0;
    Vec3 savedPosition_;
    Quaternion savedOrientation_;
};
// handlers: dcUserInput -> OnUserInput, dcFinalUpdate -> OnFinalUpdate, dcContact -> OnContact
