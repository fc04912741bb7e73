#include "game/vehicles/CarState.h"

#include <cmath>
#include <cstring>

namespace {

constexpr uint16_t kRpmBits = 0x7FFF;
constexpr uint16_t kRpmSignBit = 0x4000;
constexpr uint16_t kDirectSteeringBit = 0x8000;
constexpr uint8_t kLowSevenBits = 0x7F;
constexpr uint8_t kHighBit = 0x80;
constexpr uint8_t kDriverInControlBit = 1;
constexpr uint8_t kSnapBit = 2;

// Truncated toward zero and held inside [lo, hi]; a NaN gives 0.
int32_t ScaleTruncated(float value, float scale, int32_t lo, int32_t hi)
{
    const float scaled = value * scale;
    if (!(scaled > static_cast<float>(lo))) {
        return scaled == scaled ? lo : 0;
    }
    if (scaled >= static_cast<float>(hi)) {
        return hi;
    }
    return static_cast<int32_t>(scaled);
}

void PutVec(float (&out)[3], const Vec3& v)
{
    out[0] = v.x;
    out[1] = v.y;
    out[2] = v.z;
}

Vec3 GetVec(const float (&in)[3])
{
    return {in[0], in[1], in[2]};
}

bool AllFinite(const dcCarData& data)
{
    const float* floats[] = {data.position, data.orientation, data.velocity, data.angularVelocity};
    const int32_t counts[] = {3, 4, 3, 3};
    for (int32_t block = 0; block < 4; ++block) {
        for (int32_t i = 0; i < counts[block]; ++i) {
            if (!std::isfinite(floats[block][i])) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

uint8_t ScaleUnitToByte(float value)
{
    return static_cast<uint8_t>(ScaleTruncated(value, 255.0f, 0, 255));
}

int8_t ScaleSignedToByte(float value)
{
    return static_cast<int8_t>(ScaleTruncated(value, 127.0f, -127, 127));
}

uint8_t ScaleHealthFraction(float fraction)
{
    const int32_t scaled = ScaleTruncated(fraction, 127.0f, 0, 127);
    return static_cast<uint8_t>(scaled == 0 && fraction > 0.0f ? 1 : scaled);
}

uint16_t PackWheelRpm(float rpm)
{
    const int32_t whole = ScaleTruncated(rpm, 1.0f, -0x4000, 0x3FFF);
    return static_cast<uint16_t>(static_cast<uint32_t>(whole) & kRpmBits);
}

float UnpackWheelRpm(uint16_t bits)
{
    const int32_t low = bits & kRpmBits;
    return static_cast<float>((low & kRpmSignBit) != 0 ? low - 0x8000 : low);
}

dcCarData PackCarState(const CarState& state)
{
    dcCarData data;
    std::memset(&data, 0, sizeof(data));
    PutVec(data.position, state.position);
    data.orientation[0] = state.orientation.x;
    data.orientation[1] = state.orientation.y;
    data.orientation[2] = state.orientation.z;
    data.orientation[3] = state.orientation.w;
    PutVec(data.velocity, state.velocity);
    PutVec(data.angularVelocity, state.angularVelocity);
    data.throttle = ScaleUnitToByte(state.throttle);
    data.brake = ScaleUnitToByte(state.brake);
    data.handbrake = ScaleUnitToByte(state.handbrake);
    data.steering = ScaleSignedToByte(state.steering);
    data.gear = static_cast<int8_t>(ScaleTruncated(static_cast<float>(state.gear), 1.0f, -128, 127));
    data.wheelRpm = static_cast<uint16_t>(PackWheelRpm(state.wheelRpm) | (state.directSteering ? kDirectSteeringBit : 0));
    data.health = static_cast<uint8_t>(ScaleHealthFraction(state.healthFraction) | (state.lightsOn ? kHighBit : 0));
    data.gauge = static_cast<uint8_t>((ScaleTruncated(state.gaugeLevel, 127.0f, 0, 127) << 1) | (state.gaugeBurning ? 1 : 0));
    data.flags = static_cast<uint8_t>((state.driverInControl ? kDriverInControlBit : 0) | (state.snap ? kSnapBit : 0));
    return data;
}

bool UnpackCarState(const dcCarData& data, CarState& state)
{
    if (!AllFinite(data)) {
        return false;
    }
    state.position = GetVec(data.position);
    state.orientation = {data.orientation[0], data.orientation[1], data.orientation[2], data.orientation[3]};
    state.orientation.Normalize();
    state.velocity = GetVec(data.velocity);
    state.angularVelocity = GetVec(data.angularVelocity);
    state.throttle = static_cast<float>(data.throttle) / 255.0f;
    state.brake = static_cast<float>(data.brake) / 255.0f;
    state.handbrake = static_cast<float>(data.handbrake) / 255.0f;
    state.steering = static_cast<float>(data.steering) / 127.0f;
    state.gear = data.gear;
    state.wheelRpm = UnpackWheelRpm(data.wheelRpm);
    state.directSteering = (data.wheelRpm & kDirectSteeringBit) != 0;
    state.healthFraction = static_cast<float>(data.health & kLowSevenBits) / 127.0f;
    state.lightsOn = (data.health & kHighBit) != 0;
    state.gaugeBurning = (data.gauge & 1) != 0;
    state.gaugeLevel = static_cast<float>(data.gauge >> 1) / 127.0f;
    state.driverInControl = (data.flags & kDriverInControlBit) != 0;
    state.snap = (data.flags & kSnapBit) != 0;
    return true;
}
