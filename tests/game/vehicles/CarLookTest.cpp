// What a car shows: the pose it is drawn with, which model and parts, its
// answers to the game camera, whether cameras see it, its shadow quad and
// its light halos.

#include "tests/game/vehicles/CarTestSupport.h"

#include "engine/math/Quaternion.h"
#include "game/vehicles/dcCarLook.h"
#include "game/weapons/EffectObjects.h"
#include "game/weapons/Particle.h"
#include "game/weapons/dcCarShadow.h"
#include "game/weapons/dcParticleGroupImpl.h"
#include "game/world/dcEntityCamera.h"
#include "render/models/Model.h"

#include <cmath>
#include <initializer_list>

namespace {

constexpr Vec3 kStart{0.0f, 4.0f, 0.0f};

void ExpectNear(const Vec3& actual, const Vec3& expected, const char* what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-3f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-3f) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-3f) << what;
}

size_t LiveHalos(HaloGroup group)
{
    return EffectObjects::Get()->GetHaloGroup(group).GetParticles().size();
}

class CarLookTest : public CarTest {
protected:
    CarLookTest()
    {
        InstallCarLook();
        type.chassisFiles = {L"Vehicles\\TESTCAR\\Chassis1.DCM", L"Vehicles\\TESTCAR\\Chassis2.DCM"};
        type.wreckFile = L"Vehicles\\TESTCAR\\Stuk.DCM";
        type.headlightNodes = {{{-5.0f, 3.0f, -18.0f}}, {{5.0f, 3.0f, -18.0f}}};
        type.brakeLightNodes = {{{-5.0f, 4.0f, 18.0f}}};
        type.rearLightNodes = {{{5.0f, 4.0f, 18.0f}}};
        for (size_t i = 0; i < type.cameras.size(); ++i) {
            type.cameras[i].distance = 200.0f + static_cast<float>(i);
        }
    }
    ~CarLookTest() override
    {
        Game().SetActiveCamera(nullptr);
        for (dcEntityCamera* camera : cameras) {
            camera->Release();
        }
        GetCarLinks() = CarLinks{};
    }

    // A camera of the scene at the position, filming the car in the mode once, its frustum rebuilt.
    dcEntityCamera& Film(const dcCar& car, const Vec3& position, int32_t mode = dcEntityCamera::kModeLookAt,
                         bool active = true)
    {
        auto* camera = new dcEntityCamera;
        Game().GetScene().Add(camera);
        cameras.push_back(camera);
        if (active) {
            Game().SetActiveCamera(camera);
        }
        camera->SetTargetId(car.GetId());
        camera->SetMode(mode);
        camera->SetPosition(position);
        camera->Send(dcFinalUpdate{kStep});
        camera->Update();
        return *camera;
    }

    // The body put where asked: the test type's chassis files do not exist,
    // and an empty model has no underside to stand the car on.
    dcCar& AddCarAt(const Vec3& position = kStart, const Quaternion& orientation = Quaternion{})
    {
        dcCar& car = AddCar(position);
        car.GetBody().SetOrientation(orientation);
        car.GetBody().SetPosition(position);
        return car;
    }

    static bool Sees(dcCar& car, const Camera& camera)
    {
        const dcVisTest test{&camera, 0, 1, 0, 1, {}};
        car.Send(test);
        return test.visible != 0;
    }

    std::vector<dcEntityCamera*> cameras;
};

TEST_F(CarLookTest, TheDrawnPoseLeansPitchesAndLiftsAboutTheRearAxle)
{
    struct Case {
        const char* what;
        float pitchLean;
        float rollLean;
        float wheelie;
        bool leaning;
        bool halfWheelie;
        Vec3 point;      // car space
        Vec3 expected;   // relative to the car's position
    };
    const float s3 = std::sin(0.3f);
    const float c3 = std::cos(0.3f);
    const float sw = std::sin(0.5f);
    const float cw = std::cos(0.5f);
    const float sh = std::sin(0.25f);
    const float ch = std::cos(0.25f);
    for (const Case& c : std::initializer_list<Case>{
             {"the body's pose without leaning", 0.3f, 0.2f, 0.25f, false, false, {1, 2, 3}, {1, 2, 3}},
             {"pitch lifts the nose", 0.3f, 0.0f, 0.0f, true, false, {0, 0, -10}, {0, 10 * s3, -10 * c3}},
             {"roll about the length axis", 0.0f, 0.2f, 0.0f, true, false, {10, 0, 0},
              {10 * std::cos(0.2f), 10 * std::sin(0.2f), 0}},
             {"the wheelie (root of the amount) lifts the front about the rear axle", 0.0f, 0.0f, 0.25f, true, false,
              {0, 0, -12}, {0, 24 * sw, 12 - 24 * cw}},
             {"the rear axle stays put in a wheelie", 0.0f, 0.0f, 0.25f, true, false, {0, 0, 12}, {0, 0, 12}},
             {"half a wheelie", 0.0f, 0.0f, 0.25f, true, true, {0, 0, -12}, {0, 24 * sh, 12 - 24 * ch}},
         }) {
        dcCar& car = AddCarAt();
        car.pitchLean = c.pitchLean;
        car.rollLean = c.rollLean;
        car.wheelieAmount = c.wheelie;
        const Matrix44 drawn = car.GetRenderMatrix(true, c.leaning, c.halfWheelie);
        ExpectNear(Vec3::TransformPoint(c.point, drawn) - car.GetPosition(), c.expected, c.what);
    }
}

TEST_F(CarLookTest, FrontWheelsSteerHalfwayToTheirFactorAndShedTheBodysLean)
{
    dcCar& car = AddCarAt();
    car.steerAngle = 0.4f;
    car.steerFactor = 0.5f;
    ASSERT_FLOAT_EQ(car.GetWheel(0).rollAngle, 0.0f);
    ExpectNear(car.GetWheelMatrix(0).GetRow(2), {std::sin(0.3f), 0, std::cos(0.3f)}, "front wheel steered by 0.3");
    ExpectNear(car.GetWheelMatrix(2).GetRow(0), {1, 0, 0}, "a rear wheel only rolls");
    car.steerAngle = 0.0f;
    car.pitchLean = 0.2f;
    const Matrix44 level = Matrix44::Multiply(car.GetWheelMatrix(0), car.GetRenderMatrix(false, true, false));
    ExpectNear(level.GetRow(1), {0, 1, 0}, "drawn on the pitched body, the wheel stands level");
}

TEST_F(CarLookTest, AScooterOnTheGroundIsDrawnUprightAndLeansByItsSquaredLeanAngle)
{
    type.name = L"SCOOTER_TEST";
    dcCar* scooter = &AddCarAt(kStart, Quaternion::FromAxisAngle({0.0f, 0.0f, 1.0f}, 0.4f));
    ASSERT_TRUE(scooter->isScooter);
    ASSERT_TRUE(scooter->IsOnGround());
    scooter->leanAngle = -0.4f;

    ExpectNear(scooter->GetRenderMatrix(false, false, false).GetRow(1),
               Quaternion::ToTransform(scooter->GetOrientation()).GetRow(1), "not aligned keeps the roll");
    ExpectNear(scooter->GetRenderMatrix(true, false, false).GetRow(1), {0, 1, 0}, "aligned stands upright");
    const float lean = -0.75f * 0.4f * 0.4f;
    ExpectNear(scooter->GetRenderMatrix(true, true, false).GetRow(1), {-std::sin(lean), std::cos(lean), 0},
               "leaned by 0.75 x lean x |lean|");
}

TEST_F(CarLookTest, TheModelFollowsHealthAndItsPartsAreClassifiedOnce)
{
    dcCar& car = AddCarAt();
    const auto& chassis = car.GetChassisModels();
    ASSERT_EQ(chassis.size(), 2u);
    dcCarLook look(car);
    struct Case {
        float health;
        const Model* expected;
    };
    for (const Case& c : std::initializer_list<Case>{{500.0f, chassis[0].get()},
                                                     {375.01f, chassis[0].get()},
                                                     {375.0f, chassis[1].get()},
                                                     {1.0f, chassis[1].get()},
                                                     {0.0f, car.GetWreckModel()}}) {
        car.SetHealth(c.health, 500.0f);
        EXPECT_EQ(look.ChooseModel(), c.expected) << c.health;
    }

    Model& model = *chassis[0];
    model.GetNodes().clear();
    struct Part {
        const wchar_t* name;
        int32_t kind;
    };
    const std::initializer_list<Part> parts{
        {L"wheel_1", 1},         {L"WHEEL_4", 4},          {L"WHEEL_5", 0},         {L"fakewheel_2", 0x10002},
        {L"Damage_DoorLeft", 5}, {L"DAMAGE_DOOR", 5},      {L"DAMAGE_HOOD", 6},     {L"BODY", 0},
        {L"WHEEL_10", 0},        {L"HEADLIGHT_1", 0},
    };
    for (const Part& part : parts) {
        MeshNode node;
        node.name = part.name;
        model.GetNodes().push_back(node);
    }
    ClassifyCarModelParts(model);
    for (size_t i = 0; i < parts.size(); ++i) {
        EXPECT_EQ(model.GetNodes()[i].userValue, parts.begin()[i].kind) << parts.begin()[i].name;
    }
    // Once classified, names are not read again.
    model.GetNodes()[0].userValue = 42;
    ClassifyCarModelParts(model);
    EXPECT_EQ(model.GetNodes()[0].userValue, 42);
}

TEST_F(CarLookTest, TheCameraGetsTheTypesPresetForItsFourModesAndItsOwnRecordForOthers)
{
    dcCar& car = AddCarAt();
    for (int32_t mode : {0, 1, 2, 3, 4, 8, 9, 12, 13, 15, -1, 1000}) {
        dcCamMode asked{};
        asked.preset.mode = mode;
        car.Send(asked);
        const bool preset = mode >= 0 && mode < VehicleType::kCameraCount;
        EXPECT_FLOAT_EQ(asked.preset.distance, preset ? 200.0f + static_cast<float>(mode) : CameraPreset{}.distance)
            << mode;
    }
}

TEST_F(CarLookTest, AWreckIsLookedAtUnlessTheCameraStandsStill)
{
    dcCar& car = AddCarAt();
    struct Case {
        float health;
        int32_t asked;
        int32_t expected;
    };
    for (const Case& c : std::initializer_list<Case>{{500.0f, 0, 0},
                                                     {1.0f, 13, 13},
                                                     {0.0f, 0, dcEntityCamera::kModeLookAt},
                                                     {0.0f, 3, dcEntityCamera::kModeLookAt},
                                                     {0.0f, 13, 13}}) {
        car.SetHealth(c.health, 500.0f);
        const dcCamModeOverride mode{c.asked};
        car.Send(mode);
        EXPECT_EQ(mode.mode, c.expected) << c.health << " " << c.asked;
    }
}

TEST_F(CarLookTest, ACameraFollowingACarThatFellOutOfTheLevelRisesToHeight100)
{
    dcCar& car = AddCarAt();
    dcEntityCamera& camera = Film(car, {0.0f, -500.0f, 100.0f});
    car.SetHealth(0.0f, 500.0f);
    car.killedByKillFloor = true;
    car.Send(dcCamModeOverride{0});
    EXPECT_FLOAT_EQ(camera.GetPosition().y, 100.0f);
}

TEST_F(CarLookTest, ASlowCarIsFilmedAlongItsAxisAndMode3RidesWithTheDrawnCar)
{
    dcCar& car = AddCarAt();
    car.wheelieAmount = 0.25f;
    const dcCamOrientation asked{0, {}, {}, {}, {}};
    car.Send(asked);
    ExpectNear(asked.anchor, car.GetPosition(), "anchor");
    ExpectNear(Quaternion::ToTransform(asked.view).GetRow(2), {0, 0, 1}, "look along the car's axis");

    const dcCamOrientation rider{3, {}, {}, {}, {}};
    car.Send(rider);
    ExpectNear(rider.anchor, car.GetRenderMatrix(true, true, false).GetRow(3), "rider anchor");
    ExpectNear(Quaternion::ToTransform(rider.body).GetRow(2), car.GetRenderMatrix(true, true, true).GetRow(2),
               "rider turn with half the wheelie");
}

TEST_F(CarLookTest, CamerasSeeACarInTheirFrustumWithinReach)
{
    dcCar& car = AddCarAt();
    const dcEntityCamera& close = Film(car, {0.0f, 50.0f, 300.0f});
    EXPECT_TRUE(Sees(car, close));
    EXPECT_TRUE(car.visibleToCamera);

    car.hidden = true;
    EXPECT_FALSE(Sees(car, close));
    car.hidden = false;

    const dcEntityCamera& other = Film(car, {0.0f, 50.0f, 300.0f}, dcEntityCamera::kModeLookAt, false);
    car.GetBody().SetPosition({0.0f, 4.0f, 900.0f});
    EXPECT_FALSE(Sees(car, other)) << "the car behind the camera";
    EXPECT_TRUE(car.visibleToCamera) << "only the active camera's answer is kept";

    const dcEntityCamera& distant = Film(car, car.GetPosition() + Vec3{0.0f, 50.0f, 3100.0f});
    EXPECT_FALSE(Sees(car, distant)) << "beyond the half diagonal plus 3000";
    EXPECT_FALSE(car.visibleToCamera);
}

TEST_F(CarLookTest, ACarFilmedFromInsideIsSeenByNoCamera)
{
    type.cameras[0].showTarget = 0;
    dcCar& car = AddCarAt();
    const dcEntityCamera& inside = Film(car, {0.0f, 50.0f, 300.0f}, 0);
    ASSERT_FALSE(inside.ShowsTarget());
    const dcEntityCamera& other = Film(car, {0.0f, 50.0f, 300.0f}, dcEntityCamera::kModeLookAt, false);
    EXPECT_FALSE(Sees(car, other));
    EXPECT_FALSE(Sees(car, inside));
    EXPECT_FALSE(car.visibleToCamera);
}

TEST_F(CarLookTest, HalosAreTakenWithTheCarAndGivenBackAsItLeaves)
{
    const size_t plain = LiveHalos(kHalo02Group);
    const size_t brake = LiveHalos(kHalo01Group);
    dcCar& car = AddCarAt();
    EXPECT_EQ(LiveHalos(kHalo02Group), plain + 3);
    EXPECT_EQ(LiveHalos(kHalo01Group), brake + 1);
    car.Release();
    cars.clear();
    Game().GetScene().FlushDeletes();
    EXPECT_EQ(LiveHalos(kHalo02Group), plain);
    EXPECT_EQ(LiveHalos(kHalo01Group), brake);
}

TEST_F(CarLookTest, LightsFadeInAndOutWithTheirSwitches)
{
    dcCar& car = AddCarAt();
    Film(car, {0.0f, 50.0f, -300.0f});   // in front of the car
    dcCarLook look(car);
    const CarLightHalos& lights = look.GetLights();
    const auto alpha = [](const std::vector<CarLightHalos::Halo>& halos) { return halos.front().particle->colour.a; };

    car.lightsOn = true;
    car.brake = 0.0f;
    car.gear = 1;
    look.UpdateLights(0.05f);
    EXPECT_FLOAT_EQ(alpha(lights.GetHeadlights()), 0.5f);
    EXPECT_FLOAT_EQ(alpha(lights.GetBrakeLights()), 0.5f) << "brake lights glow with the head lights";
    EXPECT_FLOAT_EQ(alpha(lights.GetRearLights()), 0.0f);
    look.UpdateLights(0.1f);
    EXPECT_FLOAT_EQ(alpha(lights.GetHeadlights()), 1.0f) << "clamped";
    EXPECT_GT(lights.GetHeadlights().front().particle->layers.front().w, 0.0f) << "seen from the front";
    EXPECT_FLOAT_EQ(lights.GetRearLights().front().particle->layers.front().w, 0.0f) << "not seen from the front";

    car.lightsOn = false;
    car.gear = -1;
    look.UpdateLights(0.1f);
    EXPECT_FLOAT_EQ(alpha(lights.GetHeadlights()), 0.5f);
    EXPECT_FLOAT_EQ(alpha(lights.GetBrakeLights()), 0.5f);
    EXPECT_FLOAT_EQ(alpha(lights.GetRearLights()), 1.0f);
    car.brake = 1.0f;
    look.UpdateLights(0.1f);
    EXPECT_FLOAT_EQ(alpha(lights.GetBrakeLights()), 1.0f);
}

TEST_F(CarLookTest, HalosShowOnlyOnTheUndamagedModel)
{
    dcCar& car = AddCarAt();
    const dcEntityCamera& camera = Film(car, {0.0f, 50.0f, 300.0f});
    dcCarLook look(car);
    Particle& head = *look.GetLights().GetHeadlights().front().particle;

    look.OnVisTest({&camera, 0, 1, 0, 1, {}});
    EXPECT_TRUE(head.Has(kParticleVisible));
    ExpectNear(head.position, Vec3::TransformPoint(type.headlightNodes.front().position, look.GetRenderMatrix()),
               "at its node on the drawn car");

    head.Set(kParticleVisible, false);
    car.currentModel = car.GetChassisModels()[1].get();
    look.OnVisTest({&camera, 0, 1, 0, 1, {}});
    EXPECT_FALSE(head.Has(kParticleVisible));
}

} // namespace
