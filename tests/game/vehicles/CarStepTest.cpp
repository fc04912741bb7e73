// The driving model on flat ground: closed-form helpers, and what several
// steps of driving must show.

#include "tests/game/vehicles/CarTestSupport.h"

#include "engine/files/RandomRange.h"
#include "engine/math/Matrix44.h"
#include "game/weapons/dcSkidMarks.h"
#include "game/world/dcEntityCamera.h"

#include <cmath>
#include <cstdlib>
#include <initializer_list>

namespace {

struct CarSnapshot {
    Vec3 position;
    Quaternion orientation;
    Vec3 velocity;
    int32_t gear;
    float engineRpm;
};

CarSnapshot Snapshot(const dcCar& car)
{
    return {car.GetPosition(), car.GetOrientation(), car.GetVelocity(), car.gear, car.engineRpm};
}

bool IsFinite(const Vec3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

float UpY(const dcCar& car)
{
    Matrix44 rotation;
    Quaternion::ToMatrix(car.GetOrientation(), rotation);
    return rotation.GetRow(1).y;
}

// Forward speed: a car moving forward has a negative car-space z velocity.
float ForwardSpeed(const dcCar& car)
{
    Matrix44 rotation;
    Quaternion::ToMatrix(car.GetOrientation(), rotation);
    return -Vec3::Dot(car.GetVelocity(), rotation.GetRow(2));
}

} // namespace

TEST_F(CarTest, SteerFactorFallsWithSpeed)
{
    dcCar& car = AddCar();
    struct Case {
        float speed;
        float pedal;
        float factor;
    };
    for (const Case& c : std::initializer_list<Case>{
             {0.0f, 0.0f, 1.0f}, {29.0f, 1.0f, 1.0f}, {30.0f, 0.0f, 1.0f}, {305.0f, 0.0f, 0.15f}, {1000.0f, 0.0f, 0.15f},
             {1000.0f, 1.0f, 0.1f}, {167.5f, 0.0f, 0.6f}}) {
        car.pedal = c.pedal;
        EXPECT_NEAR(car.GetSteerFactor({0.0f, 0.0f, -c.speed}), c.factor, 1e-5f) << c.speed;
    }
}

TEST_F(CarTest, TorqueFollowsTheCurveAndHoldsItsEnds)
{
    type.torqueCurve = {100.0f, 200.0f, 400.0f};
    type.torqueScale = 2.0f;
    dcCar& car = AddCar();
    struct Case {
        float rpm;
        float torque;
    };
    for (const Case& c : std::initializer_list<Case>{
             {0.0f, 200.0f}, {250.0f, 300.0f}, {500.0f, 400.0f}, {750.0f, 600.0f}, {1000.0f, 800.0f},
             {99999.0f, 800.0f}, {-500.0f, 200.0f}}) {
        EXPECT_FLOAT_EQ(car.GetTorque(c.rpm), c.torque) << c.rpm;
    }
}

TEST_F(CarTest, AnEmptyOrSingleSampleCurveIsSafe)
{
    type.torqueCurve = {};
    EXPECT_EQ(AddCar().GetTorque(3000.0f), 0.0f);
    type.torqueCurve = {50.0f};
    EXPECT_EQ(AddCar({100.0f, 4.0f, 0.0f}).GetTorque(3000.0f), 50.0f);
}

TEST_F(CarTest, GearsOutsideTheTypeHaveNoRatio)
{
    dcCar& car = AddCar();
    struct Case {
        int32_t gear;
        float ratio;
    };
    for (const Case& c : std::initializer_list<Case>{{-1, -3.0f}, {0, 0.0f}, {1, 3.5f}, {4, 1.1f}, {5, 0.0f}, {-2, 0.0f}, {127, 0.0f}}) {
        EXPECT_EQ(car.GearRatio(c.gear), c.ratio) << c.gear;
    }
}

TEST_F(CarTest, FirstAndReverseNeverRevBelowIdle)
{
    dcCar& car = AddCar();
    for (const int32_t gear : {-1, 1}) {
        EXPECT_EQ(car.GetEngineRpm(gear), 1000.0f) << gear;
    }
    EXPECT_EQ(car.GetEngineRpm(2), 0.0f);
}

TEST_F(CarTest, SteerTowardsBeforeTheFirstStepStaysFinite)
{
    dcCar& car = AddCar();
    car.gear = 1;
    ASSERT_EQ(car.steerFactor, 0.0f);
    const float unmet = car.SteerTowards({-1.0f, 0.0f, -1.0f});
    EXPECT_TRUE(std::isfinite(unmet));
    EXPECT_TRUE(std::isfinite(car.steering));
    EXPECT_LE(std::fabs(car.steering), 1.0f);
}

TEST_F(CarTest, SteerTowardsFollowsTheGear)
{
    dcCar& car = AddCar();
    car.steerFactor = 1.0f;
    struct Case {
        int32_t gear;
        Vec3 direction;
        float steering;
    };
    // Behind the car (z > 0 in its space) the angle is the side's sign.
    for (const Case& c : std::initializer_list<Case>{{1, {1.0f, 0.0f, 1.0f}, 0.785398f},
                                                     {-1, {1.0f, 0.0f, 1.0f}, -0.785398f},
                                                     {0, {1.0f, 0.0f, 1.0f}, 0.0f},
                                                     {1, {1.0f, 0.0f, -1.0f}, 1.0f},
                                                     {1, {-1.0f, 0.0f, -1.0f}, -1.0f}}) {
        car.gear = c.gear;
        car.SteerTowards(c.direction);
        EXPECT_NEAR(car.steering, c.steering, 1e-5f) << c.gear;
        EXPECT_NEAR(car.steerAngle, c.steering * type.maxSteerAngle, 1e-5f);
    }
}

TEST_F(CarTest, IdenticalRunsGiveIdenticalStates)
{
    CarSnapshot runs[2];
    for (CarSnapshot& run : runs) {
        dcCar& car = AddCar();
        Drive(car, 1.0f, 0.0f, 0.3f, 1);
        Run(2.0f);
        run = Snapshot(car);
        car.Release();
        cars.pop_back();
        Game().GetScene().FlushDeletes();
    }
    EXPECT_EQ(runs[0].position.x, runs[1].position.x);
    EXPECT_EQ(runs[0].position.z, runs[1].position.z);
    EXPECT_EQ(runs[0].orientation.y, runs[1].orientation.y);
    EXPECT_EQ(runs[0].velocity.z, runs[1].velocity.z);
    EXPECT_EQ(runs[0].engineRpm, runs[1].engineRpm);
}

TEST_F(CarTest, StandsStillOnItsWheels)
{
    dcCar& car = AddCar();
    Run(4.0f);
    EXPECT_TRUE(car.IsOnGround());
    EXPECT_NEAR(UpY(car), 1.0f, 1e-3f);
    EXPECT_LT(car.GetVelocity().Length(), 0.1f);
}

TEST_F(CarTest, ControlsWakeASleepingCar)
{
    dcCar& car = AddCar();
    Run(1.0f);
    car.GetBody().Disable();
    Run(kStep);
    EXPECT_FALSE(car.GetBody().IsEnabled());
    EXPECT_EQ(car.GetChassisGeom().GetCollideBits(), dcCar::kAsleepCollide);
    Drive(car, 0.0f, 0.0f, 0.2f, 1);
    Run(kStep);
    EXPECT_TRUE(car.GetBody().IsEnabled());
    EXPECT_EQ(car.GetChassisGeom().GetCollideBits(), dcCar::kAwakeCollide);
}

TEST_F(CarTest, FullThrottleShiftsUpWithoutGoingBack)
{
    dcCar& car = AddCar();
    int32_t highest = 1;
    int32_t shiftsDown = 0;
    for (int32_t step = 0; step < 75 * 12; ++step) {
        const int32_t chosen = car.ChooseGear(0.45f);
        shiftsDown += chosen < car.gear ? 1 : 0;
        Drive(car, 1.0f, 0.0f, 0.0f, chosen);
        highest = std::max(highest, car.gear);
        Run(kStep);
    }
    EXPECT_GE(highest, 3);
    EXPECT_EQ(shiftsDown, 0);
    EXPECT_GT(ForwardSpeed(car), 100.0f);
}

TEST_F(CarTest, MirroredSteeringGivesMirroredPaths)
{
    dcCar& left = AddCar({-500.0f, 4.0f, 0.0f});
    dcCar& right = AddCar({500.0f, 4.0f, 0.0f});
    Drive(left, 1.0f, 0.0f, -0.5f, 1);
    Drive(right, 1.0f, 0.0f, 0.5f, 1);
    Run(3.0f);
    EXPECT_GT(std::fabs(left.GetPosition().x + 500.0f), 10.0f);
    EXPECT_NEAR(left.GetPosition().x + 500.0f, -(right.GetPosition().x - 500.0f), 0.5f);
    EXPECT_NEAR(left.GetPosition().z, right.GetPosition().z, 0.5f);
}

TEST_F(CarTest, BrakingStopsWithoutReversing)
{
    dcCar& car = AddCar();
    Drive(car, 1.0f, 0.0f, 0.0f, 1);
    Run(2.0f);
    ASSERT_GT(ForwardSpeed(car), 50.0f);
    Drive(car, 0.0f, 1.0f, 0.0f, 1);
    float slowest = ForwardSpeed(car);
    for (int32_t step = 0; step < 75 * 4; ++step) {
        Run(kStep);
        slowest = std::min(slowest, ForwardSpeed(car));
    }
    EXPECT_NEAR(ForwardSpeed(car), 0.0f, 1.0f);
    EXPECT_GT(slowest, -1.0f);
}

TEST_F(CarTest, ATippedCarIsPutBackOnItsWheels)
{
    // A driver thrown out waits for the respawn instead.
    RagdollEnabled = false;
    dcCar& car = AddCar({0.0f, 20.0f, 0.0f});
    car.PlaceAt({0.0f, 20.0f, 0.0f}, Quaternion::FromAxisAngle({0.0f, 0.0f, 1.0f}, 3.14159f), kZeroVector);
    Run(1.0f);
    ASSERT_LT(UpY(car), 0.1f);
    Run(2.0f);
    RagdollEnabled = true;
    EXPECT_GT(UpY(car), 0.9f);
    EXPECT_EQ(car.upsideDownTimer, 0.0f);
}

TEST_F(CarTest, RandomControlsNeverMakeNaN)
{
    std::srand(1234);
    dcCar& car = AddCar();
    for (int32_t step = 0; step < 75 * 10; ++step) {
        if (step % 15 == 0) {
            Drive(car, RandomRange(0.0f, 1.0f), RandomRange(0.0f, 1.0f), RandomRange(-1.0f, 1.0f), std::rand() % 6 - 1,
                  std::rand() & 0xFF);
            car.handbrake = RandomRange(0.0f, 1.0f);
        }
        Run(kStep);
        ASSERT_TRUE(IsFinite(car.GetPosition()) && IsFinite(car.GetVelocity())) << step;
        ASSERT_TRUE(std::isfinite(car.engineRpm) && std::isfinite(car.driftAngle)) << step;
    }
}

TEST_F(CarTest, TheFollowingCameraWidensOnlyInTheCarsModes)
{
    dcCar& car = AddCar();
    dcEntityCamera camera;
    camera.SetTargetId(car.GetId());
    Game().SetActiveCamera(&camera);
    constexpr float kDegree = 3.14159265f / 180.0f;
    struct Case {
        int32_t mode;
        float fov;
    };
    // At rest the car's own modes ease from 1 radian toward 40 degrees; the camera's modes, and modes no
    // preset has, take 75 degrees at once.
    for (const Case& c : std::initializer_list<Case>{
             {0, 1.0f + (40.0f * kDegree - 1.0f) * 2.0f * kStep}, {9, 1.0f + (40.0f * kDegree - 1.0f) * 2.0f * kStep},
             {10, 75.0f * kDegree}, {-1, 75.0f * kDegree}, {1000, 75.0f * kDegree}}) {
        camera.SetMode(c.mode);
        camera.SetFov(1.0f);
        Run(kStep);
        EXPECT_NEAR(camera.GetFov(), c.fov, 1e-4f) << c.mode;
    }
    Game().SetActiveCamera(nullptr);
}

TEST_F(CarTest, HardBrakingLaysSkidMarksAndGivesThemBack)
{
    dcCar& car = AddCar();
    Drive(car, 1.0f, 0.0f, 0.0f, 1);
    Run(2.0f);
    Drive(car, 0.0f, 1.0f, 0.0f, 1);
    Run(3.0f * kStep);
    std::vector<dcSkidMarks*> strips;
    for (int32_t i = 0; i < VehicleType::kWheelCount; ++i) {
        strips.push_back(car.GetWheel(i).skidStrip);
        ASSERT_NE(strips.back(), nullptr) << i;
    }
    Run(2.0f);
    const std::deque<dcSkidMarks*>& pool = dcSkidMarks::GetPool();
    for (int32_t i = 0; i < VehicleType::kWheelCount; ++i) {
        EXPECT_EQ(car.GetWheel(i).skidStrip, nullptr) << i;
        EXPECT_EQ(std::count(pool.begin(), pool.end(), strips[static_cast<size_t>(i)]), 1) << i;
    }
}
