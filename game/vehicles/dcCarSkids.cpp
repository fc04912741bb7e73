// A car's skid marks and skid smoke: a wheel that skids while touching the
// ground draws a strip of marks and puffs smoke.

#include "game/vehicles/dcCar.h"

#include "engine/files/RandomRange.h"
#include "engine/math/Matrix44.h"
#include "game/weapons/EffectObjects.h"
#include "game/weapons/SmokeMaker.h"
#include "game/weapons/dcSkidMarks.h"
#include "engine/physics/PhysicsWorld.h"

#include <cmath>

namespace {

constexpr float kSkidPointInterval = 0.1f;   // seconds between skid-mark points
constexpr float kSkidJump = 10.0f;           // a contact this far from the last point breaks the strip
constexpr float kSmokeInterval = 0.025f;     // seconds between puffs of one wheel
constexpr float kSmokeContactAge = 0.05f;

} // namespace

bool dcCar::IsSkidding(float steerAngleNow) const
{
    const float speed = GetVelocity().Length();
    return std::fabs(steerAngleNow) * (1.0f - steerFactor) > 0.25f || speed * brake > 100.0f ||
           speed * handbrake > 100.0f || std::fabs(driftAngle) * throttle > 0.5f ||
           std::fabs(wheelRpm - engineRpm) > 1000.0f;
}

bool dcCar::SkipsSkids(int32_t index) const
{
    const bool secondTrack = isScooter && (index == 1 || index == 3);
    const bool liftedFront = index < 2 && wheelieAmount > 0.01f;
    return effectsEnabled && (secondTrack || liftedFront);
}

// A scooter leaves one track, under its middle.
Vec3 dcCar::OntoCentreLine(const Vec3& point) const
{
    const Matrix44 frame = CarFrame();
    Vec3 local = Vec3::TransformDirection(point - frame.GetRow(3), Matrix44::Transpose(frame));
    local.x = 0.0f;
    return frame.GetRow(3) + Vec3::TransformDirection(local, frame);
}

void dcCar::LaySkidMark(const dcContact& message, int32_t index)
{
    if (SkipsSkids(index)) {
        return;
    }
    Wheel& wheel = wheels_[static_cast<size_t>(index)];
    if (!IsSkidding(steerAngle)) {
        if (wheel.skidStrip) {
            wheel.skidStrip->BreakStrip();
            dcSkidMarks::Release(wheel.skidStrip);
            wheel.skidStrip = nullptr;
        }
        return;
    }
    if (!wheel.skidStrip) {
        wheel.skidStrip = dcSkidMarks::Acquire();
        if (!wheel.skidStrip) {
            return;
        }
    }
    const Vec3 jump = message.position - wheel.lastSkidPoint;
    if (jump.Length() > kSkidJump) {
        wheel.skidStrip->BreakStrip();
    }
    wheel.lastSkidPoint = message.position;
    wheel.skidInterval -= physics_.GetStepLength();
    if (wheel.skidInterval > 0.0f) {
        return;
    }
    wheel.skidInterval = kSkidPointInterval;
    const Vec3 point = isScooter ? OntoCentreLine(message.position) : message.position;
    Vec3 direction = GetVelocity();
    direction.Normalize();
    const float width = index < 2 ? 0.0f : GetVelocity().Length() * 0.1f;
    wheel.skidStrip->AddSegment(point + message.normal, direction, message.normal, width);
}

void dcCar::ReleaseSkidStrips()
{
    for (Wheel& wheel : wheels_) {
        if (wheel.skidStrip) {
            wheel.skidStrip->BreakStrip();
            dcSkidMarks::Release(wheel.skidStrip);
            wheel.skidStrip = nullptr;
        }
    }
}

void dcCar::EmitSkidSmoke(float steerTarget, float dt)
{
    EffectObjects* effects = EffectObjects::Get();
    if (!IsSkidding(steerTarget) || !visibleToCamera || !effects) {
        skidTimer = 0.0f;
        return;
    }
    for (skidTimer += dt; skidTimer >= 0.0f; skidTimer -= kSmokeInterval) {
        for (int32_t i = 0; i < VehicleType::kWheelCount; ++i) {
            const Wheel& wheel = wheels_[static_cast<size_t>(i)];
            if (wheel.contactAge > kSmokeContactAge || SkipsSkids(i)) {
                continue;
            }
            Particle* puff = effects->GetSmoke().Emit(kEmitAlways);
            if (!puff) {
                return;
            }
            const Vec3 wheelPoint = wheel.sphere.GetPosition();
            const Vec3 position = effectsEnabled && isScooter ? OntoCentreLine(wheelPoint) : wheelPoint;
            puff->position = position + Vec3{RandomRange(-0.5f, 0.5f), RandomRange(0.0f, 1.0f), RandomRange(-0.5f, 0.5f)};
            puff->velocity = {RandomRange(-12.5f, 12.5f), 25.0f * RandomRange(0.0f, 1.0f), RandomRange(-12.5f, 12.5f)};
            puff->drawFlags = 0;
            puff->colour.a = 1.0f;
        }
    }
}
