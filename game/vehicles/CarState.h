#pragma once
// A car's state as the host sends it in dcCarData: the body's pose and
// velocities as floats, the controls and gauges as scaled integers (0..1 as
// bytes times 255, -1..1 as signed bytes times 127, truncated toward zero).

#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"
#include "game/vehicles/CarMessages.h"

#include <cstdint>

struct CarState {
    Vec3 position;
    Quaternion orientation;
    Vec3 velocity;
    Vec3 angularVelocity;
    float throttle = 0.0f;
    float brake = 0.0f;
    float handbrake = 0.0f;
    float steering = 0.0f;
    int32_t gear = 0;
    float wheelRpm = 0.0f;
    bool directSteering = false;
    float healthFraction = 0.0f;   // health / maximum health
    bool lightsOn = false;
    bool gaugeBurning = false;
    float gaugeLevel = 0.0f;
    bool driverInControl = false;
    bool snap = false;             // the receiver sets the state instead of easing toward it
};

// 0..1 as a byte: x 255, truncated; values outside are held at the ends.
uint8_t ScaleUnitToByte(float value);
// -1..1 as a signed byte: x 127, truncated toward zero; held at the ends.
int8_t ScaleSignedToByte(float value);
// Health as seven bits. A car with any health left never reads as wrecked.
uint8_t ScaleHealthFraction(float fraction);
// The low 15 bits of the truncated rpm, and back with its sign.
uint16_t PackWheelRpm(float rpm);
float UnpackWheelRpm(uint16_t bits);

dcCarData PackCarState(const CarState& state);
// False, with nothing written, when a float of the frame is not finite.
bool UnpackCarState(const dcCarData& data, CarState& state);
