// The car's closed-form rules: its state as it crosses the network, and its crash sound classes.

#include "game/vehicles/CarSounds.h"
#include "game/vehicles/CarState.h"

#include <gtest/gtest.h>

#include <initializer_list>

TEST(CarStateScaling, BytesTruncateAndHoldTheirEnds)
{
    struct Case {
        float value;
        int32_t unit;
        int32_t signedByte;
    };
    for (const Case& c : std::initializer_list<Case>{
             {0.0f, 0, 0}, {0.5f, 127, 63}, {1.0f, 255, 127}, {-1.0f, 0, -127}, {2.0f, 255, 127}, {-3.0f, 0, -127},
             {-0.5f, 0, -63}}) {
        EXPECT_EQ(ScaleUnitToByte(c.value), c.unit) << c.value;
        EXPECT_EQ(ScaleSignedToByte(c.value), c.signedByte) << c.value;
    }
    EXPECT_EQ(static_cast<uint8_t>(ScaleSignedToByte(-1.0f)), 0x81);
}

TEST(CarStateScaling, ALiveCarNeverReadsAsWrecked)
{
    struct Case {
        float fraction;
        int32_t bits;
    };
    for (const Case& c : std::initializer_list<Case>{{1.0f, 127}, {3.0f / 500.0f, 1}, {0.0f, 0}, {0.5f, 63}}) {
        EXPECT_EQ(ScaleHealthFraction(c.fraction), c.bits) << c.fraction;
    }
}

TEST(CarStateScaling, WheelRpmKeepsItsSign)
{
    for (const float rpm : {0.0f, 1234.0f, -1234.0f, 16383.0f, -16384.0f}) {
        EXPECT_EQ(UnpackWheelRpm(PackWheelRpm(rpm)), rpm);
    }
    EXPECT_EQ(UnpackWheelRpm(PackWheelRpm(100000.0f)), 16383.0f);
}

TEST(CarStateFrame, RoundTripsEveryField)
{
    CarState sent;
    sent.position = {1.5f, -2.0f, 300.0f};
    sent.orientation = {0.0f, 0.6f, 0.0f, 0.8f};
    sent.velocity = {10.0f, 0.0f, -50.0f};
    sent.angularVelocity = {0.0f, 1.0f, 0.0f};
    sent.throttle = 1.0f;
    sent.brake = 0.0f;
    sent.handbrake = 1.0f;
    sent.steering = -1.0f;
    sent.gear = -1;
    sent.wheelRpm = -250.0f;
    sent.directSteering = true;
    sent.healthFraction = 1.0f;
    sent.lightsOn = true;
    sent.gaugeBurning = true;
    sent.gaugeLevel = 1.0f;
    sent.driverInControl = true;
    sent.snap = true;

    const dcCarData data = PackCarState(sent);
    EXPECT_EQ(data.gauge, 0xFF);
    CarState read;
    ASSERT_TRUE(UnpackCarState(data, read));
    EXPECT_EQ(read.position.z, 300.0f);
    EXPECT_FLOAT_EQ(read.orientation.y, 0.6f);
    EXPECT_EQ(read.velocity.z, -50.0f);
    EXPECT_EQ(read.throttle, 1.0f);
    EXPECT_EQ(read.handbrake, 1.0f);
    EXPECT_EQ(read.steering, -1.0f);
    EXPECT_EQ(read.gear, -1);
    EXPECT_EQ(read.wheelRpm, -250.0f);
    EXPECT_TRUE(read.directSteering);
    EXPECT_EQ(read.healthFraction, 1.0f);
    EXPECT_TRUE(read.lightsOn && read.gaugeBurning && read.driverInControl && read.snap);
    EXPECT_EQ(read.gaugeLevel, 1.0f);
}

TEST(CarStateFrame, RefusesNumbersThatAreNotFinite)
{
    dcCarData data = PackCarState(CarState{});
    data.velocity[1] = std::numeric_limits<float>::infinity();
    CarState read;
    read.gear = 7;
    EXPECT_FALSE(UnpackCarState(data, read));
    EXPECT_EQ(read.gear, 7);
}

TEST(CarCrashSound, StrongerImpactsTakeLouderClasses)
{
    struct Case {
        float impact;
        int32_t crashClass;
    };
    for (const Case& c : std::initializer_list<Case>{
             {0.0f, 0}, {10.0f, 0}, {10.5f, 1}, {25.0f, 1}, {26.0f, 2}, {61.0f, 3}, {100.0f, 3}, {101.0f, 4}, {250.0f, 4},
             {251.0f, 5}, {1e9f, 5}}) {
        EXPECT_EQ(CarSounds::CrashClass(c.impact), c.crashClass) << c.impact;
    }
}
