// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "engine/core/FrameMessages.h"
#include "engine/core/ProgramState.h"
#include "engine/physics/PhysicsMessages.h"
#include "game/world/CameraMessages.h"
#include "game/world/GameMessages.h"
#include "game/world/dcEntityCamera.h"
#include "game/world/dcWorldGeometry.h"
#include "tests/support/CapturingSink.h"

#include <cmath>
#include <cstring>

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kStep = 1.0f / 75.0f;
constexpr float kFrame = 0.02f;   // one fixed step
constexpr float kSnap = 100.0f;   // a turn rate that reaches the goal in one step

// What the camera films: it answers as configured.
class FilmedTarget : public MessageReceiver {
public:
    WideString GetClassName() const override { return L"FilmedTarget"; }
    int32_t GetClassID() const override { return HashClassName("FilmedTarget"); }
    bool HandlesMessage(int32_t) override { return true; }
    int32_t HandleMessage(int32_t identity, const void* payload, int32_t, int32_t) override
    {
        if (identity == dcCamOrientation::Identity().Id()) {
            const auto* asked = static_cast<const dcCamOrientation*>(payload);
            askedModes.push_back(asked->mode);
            asked->anchor = position;
            asked->body = body;
            return 1;
        }
        if (identity == dcCamModeOverride::Identity().Id()) {
            if (replacementMode >= 0) {
                static_cast<const dcCamModeOverride*>(payload)->mode = replacementMode;
            }
            return 1;
        }
        if (identity == dcCamMode::Identity().Id()) {
            if (!answersPresets) {
                return 0;
            }
            const auto* asked = static_cast<const dcCamMode*>(payload);
            presetModes.push_back(asked->preset.mode);
            asked->preset = preset;
            return 1;
        }
        if (identity == dcOrientation::Identity().Id()) {
            static_cast<const dcOrientation*>(payload)->position = position;
            return 1;
        }
        return 0;
    }

    Vec3 position;
    Quaternion body;
    CameraPreset preset;
    bool answersPresets = true;
    int32_t replacementMode = -1;
    std::vector<int32_t> askedModes;
    std::vector<int32_t> presetModes;
};

Quaternion TurnY(float angle)
{
    return Quaternion::FromAxisAngle(kWorldUp, angle);
}

// The camera's turn in the world: the conjugate of what it stores.
Matrix44 WorldTurn(const Camera& camera)
{
    return Quaternion::ToTransform(Quaternion::Conjugate(camera.GetOrientation()));
}

void ExpectNear(const Vec3& actual, const Vec3& expected, float tolerance = 1e-3f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// The angle between two rotations.
float AngleBetween(const Quaternion& a, const Quaternion& b)
{
    const float dot = std::fabs(a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w);
    return 2.0f * std::acos(std::min(dot, 1.0f));
}

bool lookBackHeld = false;
bool LookBackHeld(int32_t binding)
{
    return lookBackHeld && binding == dcEntityCamera::kLookBackBinding;
}

class dcEntityCameraTest : public GameTest {
protected:
    dcEntityCameraTest()
    {
        lookBackHeld = false;
        Game().SetFrontEndLinks({nullptr, nullptr, nullptr, LookBackHeld});
        Game().GetScene().Add(&target);
        Game().GetScene().Add(&camera);
        camera.SetTargetId(target.GetId());
        target.preset.turnRate = kSnap;
    }
    ~dcEntityCameraTest() override
    {
        for (MessageReceiver* member : {static_cast<MessageReceiver*>(&camera), static_cast<MessageReceiver*>(&target)}) {
            if (member->GetScene()) {
                member->GetScene()->Remove(member);
            }
        }
    }

    void Step(float step = kStep) { camera.Send(dcFinalUpdate{step}); }

    FilmedTarget target;
    dcEntityCamera camera;
};

} // namespace

TEST_F(dcEntityCameraTest, ANewCameraSeesFarAndFollowsItsOwnPresetCloseUp)
{
    EXPECT_FLOAT_EQ(camera.GetFarPlane(), 75000.0f);
    EXPECT_FLOAT_EQ(camera.GetLodDistance(0), 75000.0f * 0.375f);
    EXPECT_FLOAT_EQ(camera.GetLodDistance(4), 75000.0f * 0.125f);
    EXPECT_NEAR(camera.GetFov(), 75.0f * kPi / 180.0f, 1e-5f);
    EXPECT_EQ(camera.GetMode(), 0);
    EXPECT_FALSE(camera.IsActive());
    const CameraPreset& own = camera.GetOwnPreset();
    EXPECT_FLOAT_EQ(own.distance, 10.0f);
    EXPECT_FLOAT_EQ(own.turnRate, 1.0f);
    EXPECT_EQ(own.showTarget, 1);
    EXPECT_EQ(own.fullRotation, 1);
}

TEST_F(dcEntityCameraTest, TheEyeEasesTowardsItsGoalByTheTurnRate)
{
    struct Case {
        float turnRate;
        float share;   // of the way to the goal after one step of 1/75 s
    };
    for (const Case& c : std::initializer_list<Case>{{1.0f, 4.0f / 75.0f}, {18.75f, 1.0f}, {40.0f, 1.0f}}) {
        camera.SetRotation(Quaternion{});
        camera.SetMode(dcEntityCamera::kModeOwnPreset);
        camera.GetOwnPreset().rotation = TurnY(kPi / 2);
        camera.GetOwnPreset().turnRate = c.turnRate;
        Step();
        EXPECT_NEAR(AngleBetween(Quaternion::Conjugate(camera.GetOrientation()), Quaternion{}), kPi / 2 * c.share, 1e-3f)
            << c.turnRate;
    }
}

TEST_F(dcEntityCameraTest, TheFullRotationFlagChoosesTheTargetsAxisOrItsHeadingBackwards)
{
    target.position = {30, 2, -4};
    target.body = TurnY(0.7f);
    const Vec3 third = Quaternion::ToTransform(target.body).GetRow(2);
    target.preset.distance = 20.0f;
    for (uint8_t full : {uint8_t{1}, uint8_t{0}}) {
        target.preset.fullRotation = full;
        camera.SetMode(3);
        Step();
        EXPECT_EQ(target.presetModes.back(), 3);
        ExpectNear(camera.GetPosition() - target.position, third * (full ? 20.0f : -20.0f));
        ExpectNear(camera.GetFocus(), target.position);
    }
    // The focus offset is carried in the target's frame.
    target.preset.fullRotation = 1;
    target.preset.focusOffset = {0, 0, 5};
    Step();
    ExpectNear(camera.GetFocus(), target.position + third * 5.0f);
}

TEST_F(dcEntityCameraTest, InTheWorldFrameATurningTargetLeavesTheHeadingAlone)
{
    camera.SetMode(dcEntityCamera::kModeOwnPresetWorld);
    camera.GetOwnPreset().turnRate = kSnap;
    target.position = {5, 0, 5};
    for (float heading : {0.3f, 1.9f, -2.5f}) {
        target.body = TurnY(heading);
        Step();
        ExpectNear(camera.GetPosition(), target.position + Vec3{0, 0, 10});
        EXPECT_NEAR(AngleBetween(camera.GetOrientation(), Quaternion{}), 0.0f, 1e-3f);
    }
}

TEST_F(dcEntityCameraTest, LookingBackTurnsTheEyeHalfARound)
{
    camera.SetMode(dcEntityCamera::kModeOwnPreset);
    camera.GetOwnPreset().turnRate = kSnap;
    lookBackHeld = true;
    Step();
    ExpectNear(camera.GetPosition(), {0, 0, -10});
    lookBackHeld = false;
    Step();
    ExpectNear(camera.GetPosition(), {0, 0, 10});
}

TEST_F(dcEntityCameraTest, ATargetWithoutAPresetOrAskingForIt12HoldsTheCamera)
{
    target.position = {1, 2, 3};
    target.body = TurnY(0.4f);
    struct Case {
        bool answersPresets;
        int32_t replacement;
    };
    for (const Case& c : std::initializer_list<Case>{{false, -1}, {true, dcEntityCamera::kModeAttached}}) {
        target.answersPresets = c.answersPresets;
        target.replacementMode = c.replacement;
        camera.SetMode(3);
        camera.SetPosition({100, 100, 100});
        Step();
        ExpectNear(camera.GetPosition(), target.position);
        ExpectNear(camera.GetFocus(), target.position);
        // Taken as reported, not conjugated.
        EXPECT_NEAR(AngleBetween(camera.GetOrientation(), target.body), 0.0f, 1e-4f);
        // The replacement holds for this update only.
        EXPECT_EQ(camera.GetMode(), 3);
    }
}

TEST_F(dcEntityCameraTest, LookingAtTheTargetTurnsTheThirdAxisBackToTheCamera)
{
    camera.SetMode(dcEntityCamera::kModeLookAt);
    camera.SetPosition({10, 20, -5});
    target.position = {-3, 1, 4};
    Step();
    ExpectNear(camera.GetPosition(), {10, 20, -5});
    Vec3 back = Vec3{10, 20, -5} - target.position;
    back.Normalize();
    ExpectNear(WorldTurn(camera).GetRow(2), back);
    EXPECT_TRUE(camera.ShowsTarget());
    EXPECT_TRUE(target.presetModes.empty());
}

TEST_F(dcEntityCameraTest, ATargetThatStopsAnsweringLeavesTheCameraStill)
{
    camera.SetPosition({4, 5, 6});
    Game().GetScene().Remove(&target);
    Step();
    EXPECT_EQ(camera.GetMode(), dcEntityCamera::kModeStill);
    ExpectNear(camera.GetPosition(), {4, 5, 6});
    ExpectNear(camera.GetSavedPosition(), {4, 5, 6});
    // Still, even once a target answers again under that id.
    Game().GetScene().Add(&target);
    camera.SetTargetId(target.GetId());
    Step();
    EXPECT_EQ(camera.GetMode(), dcEntityCamera::kModeStill);
    EXPECT_TRUE(target.askedModes.empty());
}

TEST_F(dcEntityCameraTest, TheFreeCameraGoesWhereItsSavedPoseIsAndOthersSaveTheirs)
{
    camera.SetMode(dcEntityCamera::kModeFree);
    camera.SetSavedPose({7, 8, 9}, TurnY(1.0f));
    Step();
    ExpectNear(camera.GetPosition(), {7, 8, 9});
    EXPECT_NEAR(AngleBetween(camera.GetOrientation(), TurnY(1.0f)), 0.0f, 1e-5f);
    EXPECT_FALSE(camera.IsOrthographic());
    // Between steps the view follows the saved pose the tool moves.
    camera.SetSavedPose({0, 50, 0}, Quaternion{});
    camera.Update();
    ExpectNear(Matrix44::InvertRigid(camera.GetView()).GetRow(3), {0, 50, 0});

    camera.SetMode(dcEntityCamera::kModeOverview);
    camera.SetPosition({1, 1, 1});
    Step();
    EXPECT_TRUE(camera.IsOrthographic());
    ExpectNear(camera.GetSavedPosition(), {1, 1, 1});
    EXPECT_TRUE(target.askedModes.empty());
    camera.SetMode(0);
    Step();
    EXPECT_FALSE(camera.IsOrthographic());
}

TEST_F(dcEntityCameraTest, AWallContactPullsTheEyeInFrontOfTheWall)
{
    target.position = {0, 0, 0};
    struct Case {
        Vec3 eye;
        Vec3 contact;
        Vec3 expected;
    };
    for (const Case& c : std::initializer_list<Case>{{{0, 0, 20}, {0, 0, 10}, {0, 0, 7.5f}},
                                                     {{0, 0, 5}, {0, 0, 10}, {0, 0, 5}},
                                                     {{0, 30, 0}, {0, 10, 0}, {0, 7.5f, 0}}}) {
        camera.SetPosition(c.eye);
        dcContact contact;
        contact.position = c.contact;
        camera.Send(contact);
        ExpectNear(camera.GetPosition(), c.expected);
        EXPECT_EQ(contact.accept, 0);
    }
}

TEST_F(dcEntityCameraTest, TheProbeKeepsTheEyeOnTheTargetsSideOfAWall)
{
    camera.SetMode(dcEntityCamera::kModeOwnPreset);
    camera.GetOwnPreset().turnRate = kSnap;
    // No world loaded: nothing to keep out of.
    Step();
    ExpectNear(camera.GetPosition(), {0, 0, 10});

    // The world's mesh: a wall across z = 5.5, facing both ways.
    World& world = Game().GetWorld();
    dcWorldGeometry& walls = world.GetGeometry();
    walls.Vertices() = {{-20, -20, 5.5f}, {20, -20, 5.5f}, {20, 20, 5.5f}, {-20, 20, 5.5f}};
    walls.Triangles() = {{{0, 1, 2}, 0}, {{0, 2, 3}, 0}, {{0, 2, 1}, 0}, {{0, 3, 2}, 0}};
    world.GetPhysics().CreateSpace({{0, 0, 0}, {100, 100, 100}}, 4);
    walls.Build();
    walls.AddToPhysics(world.GetPhysics());
    Step();
    ExpectNear(camera.GetPosition(), {0, 0, 5.5f - 2.5f});
    walls.RemoveFromPhysics(world.GetPhysics());
}

TEST_F(dcEntityCameraTest, TestModeKeysSwitchTheActiveCameraToTheFreeOrOverviewMode)
{
    const bool wasTestMode = testMode;
    struct Case {
        bool test;
        bool active;
        std::vector<ButtonEvent> keys;
        int32_t mode;
    };
    for (const Case& c : std::initializer_list<Case>{
             {true, true, {{dcEntityCamera::kKeyFree, true}}, dcEntityCamera::kModeFree},
             {true, true, {{24, true}, {19, true}}, dcEntityCamera::kModeOverview},
             {true, true, {{24, true}}, 0},
             {false, true, {{dcEntityCamera::kKeyFree, true}}, 0},
             {true, false, {{dcEntityCamera::kKeyFree, true}}, 0}}) {
        testMode = c.test;
        camera.SetActive(c.active);
        camera.SetMode(0);
        Keys(c.keys);
        Game().Simulate(kFrame);
        std::vector<ButtonEvent> released;
        for (const ButtonEvent& key : c.keys) {
            released.push_back({key.button, false});
        }
        Keys(released);
        Game().Simulate(kFrame);
        EXPECT_EQ(camera.GetMode(), c.mode);
    }
    testMode = wasTestMode;
}

TEST_F(dcEntityCameraTest, LookingOverAnAreaSeesItFromAbove)
{
    for (const BoundingBox& area : {BoundingBox{{100, 0, -50}, {1000, 50, 500}}, BoundingBox{}}) {
        camera.LookOver(area);
        const Vec3 eye = camera.GetPosition();
        EXPECT_GT(eye.y, area.centre.y + std::max(area.halfExtents.x, 100.0f) * 0.5f);
        Vec3 back = eye - area.centre;
        back.Normalize();
        ExpectNear(WorldTurn(camera).GetRow(2), back);
        ExpectNear(camera.GetSavedPosition(), eye);
        // Every corner of the area's floor lies in view.
        camera.SetViewport({0, 0, 800, 600});
        camera.Update();
        for (float sx : {-1.0f, 1.0f}) {
            for (float sz : {-1.0f, 1.0f}) {
                const Vec3 corner = area.centre + Vec3{sx * area.halfExtents.x, 0, sz * area.halfExtents.z};
                EXPECT_TRUE(camera.GetFrustum().IsBoxVisible({corner, {0.1f, 0.1f, 0.1f}}));
            }
        }
    }
}

namespace {

// A ".CAM" file: magic, version, offset, turn, distance, turn rate, flags,
// then the field of view when given.
std::string PresetFile(int32_t version, uint8_t showTarget, uint8_t fullRotation, const float* fov)
{
    std::string bytes = "DC2";
    const auto put = [&bytes](const void* value, size_t size) {
        bytes.append(static_cast<const char*>(value), size);
    };
    put(&version, 4);
    const float values[] = {1, 2, 3, 0, 0.6f, 0, 0.8f, 250, 3};
    put(values, sizeof values);
    put(&showTarget, 1);
    put(&fullRotation, 1);
    if (fov) {
        put(fov, 4);
    }
    return bytes;
}

class CameraPresetTest : public GameTest {};

} // namespace

TEST_F(CameraPresetTest, AFileGivesItsFramingAndTheVersionDecidesTheLens)
{
    const float wide = 90.0f;
    struct Case {
        std::string bytes;
        float fov;
        uint8_t showTarget;
        uint8_t fullRotation;
    };
    for (const Case& c : std::initializer_list<Case>{{PresetFile(0, 0, 7, nullptr), 75.0f, 0, 1},
                                                     {PresetFile(1, 200, 0, &wide), 90.0f, 1, 0},
                                                     {PresetFile(3, 1, 1, &wide), 90.0f, 1, 1}}) {
        WriteFile("Chase.CAM", c.bytes);
        const CameraPreset preset = CameraPreset::Load(L"Chase.CAM", true);
        EXPECT_FLOAT_EQ(preset.fieldOfView, c.fov);
        EXPECT_EQ(preset.showTarget, c.showTarget);
        EXPECT_EQ(preset.fullRotation, c.fullRotation);
        ExpectNear(preset.focusOffset, {1, 2, 3});
        EXPECT_FLOAT_EQ(preset.rotation.y, 0.6f);
        EXPECT_FLOAT_EQ(preset.rotation.w, 0.8f);
        EXPECT_FLOAT_EQ(preset.distance, 250.0f);
        EXPECT_FLOAT_EQ(preset.turnRate, 3.0f);
    }
    EXPECT_EQ(PresetFile(0, 1, 1, nullptr).size(), 45u);
}

TEST_F(CameraPresetTest, AnUnreadableFileGivesTheDefaults)
{
    const std::string version1WithoutLens = PresetFile(1, 0, 1, nullptr);
    struct Case {
        const char* bytes;   // none: no file
        size_t size;
        bool report;
        const wchar_t* logged;
    };
    for (const Case& c : std::initializer_list<Case>{{nullptr, 0, false, nullptr},
                                                     {nullptr, 0, true, L" is missing!"},
                                                     {"DC2\0\0\0", 6, true, L" is missing!"},
                                                     {"XYZ\0\0\0\0\0\0\0\0\0", 12, true, L" is missing!"},
                                                     {"XYZ\0\0\0\0\0\0\0\0\0", 12, false, nullptr},
                                                     {version1WithoutLens.data(), version1WithoutLens.size(), false,
                                                      L" contains errors"}}) {
        std::filesystem::remove("Broken.CAM");
        if (c.bytes) {
            WriteFile("Broken.CAM", std::string(c.bytes, c.size));
        }
        ScopedCapture log;
        const CameraPreset preset = CameraPreset::Load(L"Broken.CAM", c.report);
        EXPECT_EQ(log->lines.size(), c.logged ? 1u : 0u);
        if (c.logged) {
            EXPECT_TRUE(log->Contains(L"Broken.CAM"));
            EXPECT_TRUE(log->Contains(c.logged));
        }
        EXPECT_FLOAT_EQ(preset.distance, 100.0f);
        EXPECT_FLOAT_EQ(preset.turnRate, 1.0f);
        EXPECT_FLOAT_EQ(preset.fieldOfView, 75.0f);
        EXPECT_EQ(preset.showTarget, 1);
        EXPECT_EQ(preset.fullRotation, 0);
        EXPECT_FLOAT_EQ(preset.rotation.w, 1.0f);
        ExpectNear(preset.focusOffset, {0, 0, 0});
    }
}
