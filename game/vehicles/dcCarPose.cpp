#include "game/vehicles/dcCar.h"

#include "engine/math/Matrix44.h"
#include "engine/math/Scalar.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr Vec3 kAxisX{1.0f, 0.0f, 0.0f};
constexpr Vec3 kAxisY{0.0f, 1.0f, 0.0f};
constexpr Vec3 kAxisZ{0.0f, 0.0f, 1.0f};
// Beyond this a forward axis is too near the vertical to stand the car up against the world's up.
constexpr float kNearlyVertical = 0.99f;
// How far a scooter leans into its turn, of its lean angle squared (sign kept).
constexpr float kScooterLean = 0.75f;

// m = T(offset) x m: the step acts first, in the car's own frame.
void PreTranslate(Matrix44& m, const Vec3& offset)
{
    Matrix44 step;
    step.SetRow(3, offset);
    m = Matrix44::Multiply(step, m);
}

} // namespace

Matrix44 dcCar::GetRenderMatrix(bool aligned, bool leaning, bool halfWheelie) const
{
    Matrix44 m = Quaternion::ToTransform(GetOrientation());
    m.SetRow(3, GetPosition());
    if (aligned && isScooter && IsOnGround()) {
        // A scooter stands upright whatever its body rolls; only a forward
        // axis near the vertical keeps the body's up, where the world's
        // would give no side axis.
        const Vec3 forward = m.GetRow(2);
        const Vec3 up = std::fabs(forward.y) > kNearlyVertical ? m.GetRow(1) : kAxisY;
        m.FromForwardUp(forward, up);
    }
    if (leaning) {
        // Pre-multiplied in this order, so a point is leaned first, then
        // lifted about the rear axle, then rolled and pitched.
        m.PreRotateAxis(kAxisX, pitchLean);
        m.PreRotateAxis(kAxisZ, rollLean);
        PreTranslate(m, type_.rearAxle);
        const float wheelie = std::sqrt(std::max(wheelieAmount, 0.0f));
        m.PreRotateAxis(kAxisX, halfWheelie ? wheelie * 0.5f : wheelie);
        PreTranslate(m, -type_.rearAxle);
        if (isScooter) {
            m.PreRotateAxis(kAxisZ, kScooterLean * leanAngle * std::fabs(leanAngle));
        }
    }
    return m;
}

Matrix44 dcCar::GetWheelMatrix(int32_t index) const
{
    const Wheel& wheel = wheels_[static_cast<size_t>(std::clamp(index, 0, VehicleType::kWheelCount - 1))];
    Matrix44 m;
    m.RotateAxis(kAxisX, wheel.rollAngle);
    if (index < 2) {
        m.RotateAxis(kAxisY, Lerp(steerAngle, steerFactor * steerAngle, 0.5f));
    }
    m.Translate({wheel.mount.x, wheel.mount.y + wheel.suspension, wheel.mount.z});
    // The body's visual pitch and roll come off again: the wheels stay on the ground.
    m.RotateAxis(kAxisX, -pitchLean);
    m.RotateAxis(kAxisZ, -rollLean);
    return m;
}
