#include "game/vehicles/dcCar.h"

#include "engine/files/RandomRange.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Scalar.h"
#include "game/weapons/DamageMessages.h"
#include "game/weapons/dcCarWeapon.h"
#include "game/world/GameModule.h"
#include "game/world/dcEntityCamera.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr float kGroundContactAge = 0.15f;
constexpr float kTouchingAirTime = 0.05f;
constexpr float kRpmPerRadianPerSecond = 60.0f / 6.2831853f;
constexpr float kRpmPerSample = 500.0f;
constexpr float kMaxSpin = 8.0f;
constexpr float kFastCarContact = 125.0f;
constexpr float kPi = 3.14159265f;

Matrix44 RotationOf(const Quaternion& q)
{
    Matrix44 m;
    Quaternion::ToMatrix(q, m);
    return m;
}

Matrix44 Transposed(const Matrix44& m)
{
    Matrix44 out;
    Matrix44::TransposeRotation(m, out);
    return out;
}

Quaternion TurnAboutUp(float angle)
{
    return Quaternion::FromAxisAngle(kWorldUp, angle);
}

Vec3 LerpVec(const Vec3& a, const Vec3& b, float t)
{
    return {Lerp(a.x, b.x, t), Lerp(a.y, b.y, t), Lerp(a.z, b.z, t)};
}

} // namespace

// What one step works on: the car frame (the body turned back by the drift)
// and the body's velocities in it.
struct dcCar::StepFrame {
    Quaternion orientation;   // of the car frame
    Vec3 position;            // of the car's origin
    Vec3 carVelocity;
    Vec3 angularVelocity;
    float startSpeed = 0.0f;
    float startDrift = 0.0f;
    bool onGround = false;
    bool touching = false;
    float steerTarget = 0.0f;
};

bool dcCar::IsOnGround() const
{
    if (health_ == 0.0f) {
        return false;
    }
    int32_t touching = 0;
    for (const Wheel& wheel : wheels_) {
        touching += wheel.contactAge <= kGroundContactAge ? 1 : 0;
    }
    return touching > 2;
}

float dcCar::GetSteerFactor(const Vec3& carVelocity) const
{
    const float speed = carVelocity.Length();
    if (speed < 30.0f) {
        return 1.0f;
    }
    return Clamp(1.05f - 0.9f * Clamp01((speed - 30.0f) / 275.0f) - 0.05f * pedal, 0.1f, 1.0f);
}

float dcCar::SteerTowards(const Vec3& direction)
{
    const Vec3 local = Vec3::TransformDirection(direction, Transposed(RotationOf(GetOrientation())));
    float angle = local.z > 0.0f ? std::atan(local.x / local.z) : FloatSign(local.x);
    angle *= static_cast<float>(gear > 0 ? 1 : (gear < 0 ? -1 : 0));
    // Before the first step there is no steering factor yet: steer as at rest.
    const float factor = steerFactor > 0.0f ? steerFactor : 1.0f;
    float want = angle / factor;
    if (contactSteerTimer > 0.0f && steerLockedByContact) {
        want = 0.0f;
    }
    const float limit = factor < 0.5f ? 0.9f : 1.0f;
    steering = Clamp(want, -limit, limit);
    steerAngle = steering * type_.maxSteerAngle;
    return std::fabs(want) - std::fabs(steering);
}

float dcCar::GearRatio(int32_t g) const
{
    const int32_t index = g + 1;
    if (index < 0 || index >= static_cast<int32_t>(type_.gearRatios.size())) {
        return 0.0f;
    }
    return type_.gearRatios[static_cast<size_t>(index)];
}

float dcCar::GetEngineRpm(int32_t g) const
{
    const Matrix44 toBody = Transposed(RotationOf(GetOrientation()));
    float sum = 0.0f;
    for (const Wheel& wheel : wheels_) {
        const float radius = wheel.sphere.GetRadius();
        if (radius <= 0.0f) {
            continue;
        }
        // The ODE body sits at the centre of mass, the mounts are given from the car's origin.
        const Vec3 velocity = Vec3::TransformDirection(body_.GetPointVelocity(wheel.mount - kCentreOfMass), toBody);
        sum += -velocity.z / radius * GearRatio(g) * type_.finalDrive * kRpmPerRadianPerSecond;
    }
    const float mean = sum / static_cast<float>(VehicleType::kWheelCount);
    return (g == 1 || g == -1) && mean < 1000.0f ? 1000.0f : mean;
}

float dcCar::GetTorque(float rpm) const
{
    const int32_t n = static_cast<int32_t>(type_.torqueCurve.size());
    if (n == 0) {
        return 0.0f;
    }
    const float scaled = rpm * 0.002f;
    const int32_t i = scaled >= static_cast<float>(n - 1) ? n - 1 : (scaled > 0.0f ? static_cast<int32_t>(scaled) : 0);
    const int32_t j = std::min(i + 1, n - 1);
    const float f = Clamp01((rpm - kRpmPerSample * static_cast<float>(i)) * 0.002f);
    const float a = type_.torqueCurve[static_cast<size_t>(i)];
    const float b = type_.torqueCurve[static_cast<size_t>(j)];
    return type_.torqueScale * (a + f * (b - a));
}

int32_t dcCar::ChooseGear(float hysteresis) const
{
    if (!IsOnGround()) {
        return gear;
    }
    float best = -100000.0f;
    int32_t result = 1;
    for (int32_t g = 1; g <= type_.gearCount; ++g) {
        float w = GetTorque(GetEngineRpm(g)) * GearRatio(g) * type_.driveEfficiency * type_.finalDrive;
        if (w >= best) {
            if (g == gear && g != type_.gearCount - 1) {
                w *= 1.0f + hysteresis;
            }
            best = w;
            result = g;
        }
    }
    return result;
}

Matrix44 dcCar::CarFrame() const
{
    Matrix44 frame = RotationOf(Quaternion::Multiply(GetOrientation(), TurnAboutUp(-driftAngle)));
    frame.SetRow(3, GetPosition());
    return frame;
}

void dcCar::Update(const dcUpdate& message)
{
    const float dt = message.step;
    if (!(dt > 0.0f)) {
        return;
    }
    if (weapon_ && weapon_->GetAmmoFraction() == 0.0f) {
        SetWeapon(nullptr);
    }
    if (!driverInControl) {
        throttle = 0.0f;
        brake = 0.25f;
        body_.Enable();
    }
    const bool boosting = fuelGauge_ && fuelGauge_->IsBurning();
    if (throttle != 0.0f || steering != 0.0f || handbrake != 0.0f || boosting) {
        body_.Enable();
    }
    chassisBox_.SetCategoryBits(kChassisCategory);
    chassisBox_.SetCollideBits(body_.IsEnabled() ? kAwakeCollide : kAsleepCollide);

    StepFrame frame;
    frame.startDrift = driftAngle;
    frame.orientation = Quaternion::Multiply(GetOrientation(), TurnAboutUp(-driftAngle));
    frame.position = GetPosition();
    frame.carVelocity = Vec3::TransformDirection(GetVelocity(), Transposed(RotationOf(frame.orientation)));
    frame.angularVelocity = body_.GetAngularVelocity();
    frame.startSpeed = GetVelocity().Length();
    frame.onGround = IsOnGround();
    frame.touching = frame.onGround || airTime <= kTouchingAirTime;

    if (body_.IsEnabled()) {
        DriveOnGround(frame, dt);
        StepWheels(frame, wheelRpm, dt);
        for (Wheel& wheel : wheels_) {
            wheel.contactAge += dt;
        }
        airTime += dt;
        crashSoundCooldown -= dt;
        contactSteerTimer -= dt;
        StepCrashSound();
        sparkCooldown -= dt;
        EmitSkidSmoke(frame.steerTarget, dt);
        if (effectsEnabled) {
            const bool wheelie = boosting && driverInControl;
            wheelieAmount = wheelie ? wheelieAmount + (1.0f - wheelieAmount) * Clamp01(dt)
                                    : std::max(wheelieAmount - dt * 2.0f / 3.0f, 0.0f);
            const float leanTarget = driverInControl ? Clamp(frame.steerTarget / type_.maxSteerAngle, -1.0f, 1.0f) *
                                                           MinFloat(GetVelocity().Length() * 0.01f, 1.0f)
                                                     : 0.0f;
            leanAngle = Lerp(leanAngle, type_.maxSteerAngle != 0.0f ? leanTarget : 0.0f, 2.0f * dt);
            StepCrash(dt);
        }
    }
    StepCamera(dt);
    if (look_) {
        look_->UpdateLights(dt);
    }
    const Vec3 smoothTarget = frame.carVelocity;
    smoothedCarVelocity = LerpVec(smoothedCarVelocity, smoothTarget,
                                  smoothTarget.Length() >= smoothedCarVelocity.Length() ? 2.0f * dt : 0.25f * dt);
    if (fuelGauge_) {
        fuelGauge_->Update(dt);
    }
    StepTipOver(frame, dt);
    StepSounds(frame, dt);
    if (damage_) {
        damage_->PlaceParts(look_ ? look_->GetRenderMatrix()
                                  : Matrix44::FromRotationTranslation(RotationOf(GetOrientation()), GetPosition()));
    }
    StepNetwork(dt);
}

// Steps 7 to 23 of the driving model: grip, steering, drift, heading,
// engine, brakes, drag and drive, written back into the body.
void dcCar::DriveOnGround(StepFrame& frame, float dt)
{
    body_.SetMass(type_.mass);
    Vec3& v = frame.carVelocity;
    if (frame.onGround) {
        v.x = Lerp(Lerp(v.x, 0.0f, 10.0f * dt), v.x - 10.0f * dt * Clamp(v.x, -25.0f, 25.0f), handbrake);
    }
    const Vec3 acceleration = (prevCarVelocity - v) * (1.0f / dt);
    pitchLean = Lerp(pitchLean, Clamp(acceleration.z * 0.00025f, -0.05f, 0.025f), 10.0f * dt);
    prevCarVelocity = v;
    if (fuelGauge_ && fuelGauge_->IsBurning() && gear != -1) {
        throttle = 1.0f;
    }
    frame.steerTarget = steering * type_.maxSteerAngle;
    steerFactor = GetSteerFactor(v);
    pedal = Lerp(pedal, throttle - brake, 3.0f * dt);
    if (directSteering) {
        steerAngle = frame.steerTarget;
    } else {
        const bool turningIn = std::fabs(steerAngle) < std::fabs(frame.steerTarget);
        steerAngle = Lerp(steerAngle, frame.steerTarget, (turningIn ? 5.0f : 15.0f) * dt);
    }
    if (frame.onGround && type_.maxSteerAngle > 0.0f) {
        float p = std::pow(Clamp01(std::fabs(steerAngle) / type_.maxSteerAngle), 12.0f);
        if (steerFactor > 0.5f) {
            p *= handbrake;
        }
        p *= 1.0f - Clamp01(2.0f * contactSteerTimer);
        const float target = p * steerAngle +
                             handbrake * Clamp(2.0f * driftAngle, -type_.maxSteerAngle, type_.maxSteerAngle);
        const bool settling = std::fabs(driftAngle) > std::fabs(target) && FloatSign(driftAngle) == FloatSign(target);
        driftAngle = Lerp(driftAngle, target, settling ? Lerp(1.0f, 0.1f, handbrake) * 10.0f * dt : 5.0f * dt);
    }
    rollLean = Lerp(rollLean, std::pow(1.0f - steerFactor, 0.4f) * frame.steerTarget * 0.1f, 2.0f * dt);
    if (frame.onGround) {
        TurnHeading(frame, dt);
    }
    const float rpm = StepEngine(frame, dt);
    ApplyBrakesAndDrag(frame, rpm);
    Vec3& w = frame.angularVelocity;
    w = w - w * (type_.angularDamping * dt);
    w = {Clamp(w.x, -kMaxSpin, kMaxSpin), Clamp(w.y, -kMaxSpin, kMaxSpin), Clamp(w.z, -kMaxSpin, kMaxSpin)};
    if (frame.onGround && throttle != 0.0f) {
        ApplyDrive(frame, rpm);
    }
    WriteBack(frame);
    for (Wheel& wheel : wheels_) {
        wheel.suspension = std::max(wheel.suspension - 5.0f * dt, wheel.suspensionMin);
    }
    if (damage_) {
        damage_->StepParts(acceleration, dt);
    }
}

// A bicycle model about the rear axle: the front axle moves along the
// steered wheels, the rear along the car, and the car turns to lie between them.
void dcCar::TurnHeading(StepFrame& frame, float dt)
{
    const Matrix44 steer = RotationOf(TurnAboutUp(steerFactor * steerAngle));
    const Vec3 d = frame.carVelocity * dt;
    const Vec3 front = Vec3::TransformDirection(d, steer) + type_.frontAxle;
    const Vec3 rear = d + type_.rearAxle;
    Vec3 back = rear - front;
    back.Normalize();
    Vec3 side = Vec3::Cross(kWorldUp, back);
    side.Normalize();
    Matrix44 turn;
    turn.SetRow(0, side);
    turn.SetRow(1, kWorldUp);
    turn.SetRow(2, Vec3::Cross(side, kWorldUp));
    const Matrix44 before = RotationOf(frame.orientation);
    Matrix44 after;
    Matrix44::MultiplyRotation(turn, before, after);
    frame.orientation = Quaternion::FromMatrix(after);
    frame.orientation.Normalize();
    frame.position = frame.position + Vec3::TransformDirection(type_.rearAxle, before) -
                     Vec3::TransformDirection(type_.rearAxle, RotationOf(frame.orientation));
}

float dcCar::StepEngine(const StepFrame& frame, float dt)
{
    float rpm = 0.0f;
    if (frame.onGround && gear != 0) {
        rpm = GetEngineRpm(gear);
        engineRpm = Lerp(engineRpm, rpm, 3.0f * dt);
    } else {
        const float rate = gear != 0 ? Lerp(-1.0f, 1.0f, throttle) : Lerp(-2.0f, 3.0f, throttle);
        const float top = kRpmPerSample * static_cast<float>(type_.torqueCurve.size());
        rpm = Clamp(engineRpm + rate * 2000.0f * dt, 1000.0f, std::max(top, 1000.0f));
        engineRpm = rpm;
    }
    wheelRpm = rpm;
    return rpm;
}

void dcCar::ApplyBrakesAndDrag(StepFrame& frame, float rpm)
{
    Vec3& v = frame.carVelocity;
    const float speed = v.Length();
    if (frame.onGround) {
        const float b = rpm < 0.0f ? 1.0f : brake;
        const float r = MinFloat(1.0f, b + 0.125f * (1.0f - Clamp01(throttle)) + 0.125f * Clamp01(handbrake) +
                                            0.5f * std::fabs(frame.steerTarget) * (1.0f - steerFactor));
        if (std::fabs(v.z) > 10.0f) {
            body_.AddRelForce({0.0f, 0.0f, -200000.0f * FloatSign(v.z) * type_.brakeForce * r});
        } else {
            v.z = Lerp(v.z, 0.0f, r);
        }
    }
    Vec3 drag = v * (-type_.airDrag * speed);
    if (frame.onGround) {
        drag.z -= type_.rollingResistance * v.z;
    }
    body_.AddRelForce(drag);
}

void dcCar::ApplyDrive(const StepFrame& frame, float rpm)
{
    const float boost = fuelGauge_ && fuelGauge_->IsBurning() ? 1.0f + (fuelGauge_->GetBoostFactor() - 1.0f) * 0.5f : 1.0f;
    const Vec3 forward = -RotationOf(frame.orientation).GetRow(2);
    for (const Wheel& wheel : wheels_) {
        const float radius = wheel.sphere.GetRadius();
        if (radius <= 0.0f) {
            continue;
        }
        const float push = boost * throttle * GearRatio(gear) * type_.driveEfficiency * type_.finalDrive *
                           GetTorque(rpm) / radius * 35.0f;
        body_.AddForce(forward * push);
    }
}

void dcCar::WriteBack(const StepFrame& frame)
{
    body_.SetLinearVelocity(Vec3::TransformDirection(frame.carVelocity, RotationOf(frame.orientation)));
    body_.SetAngularVelocity(frame.angularVelocity);
    Quaternion orientation = Quaternion::Multiply(frame.orientation, TurnAboutUp(frame.startDrift));
    if (driverInControl && isScooter) {
        Matrix44 upright;
        upright.FromForward(RotationOf(orientation).GetRow(2));
        orientation = Quaternion::FromMatrix(upright);
    }
    orientation.Normalize();
    body_.SetOrientation(orientation);
    body_.SetPosition(frame.position);
}

// Front wheels (the first two) turn with the steering.
Matrix44 dcCar::WheelTransform(int32_t index, const Matrix44& carFrame) const
{
    const Wheel& wheel = wheels_[static_cast<size_t>(index)];
    Matrix44 local = index < 2 ? RotationOf(TurnAboutUp(steerAngle)) : Matrix44{};
    local.SetRow(3, {wheel.mount.x, wheel.mount.y + wheel.suspension, wheel.mount.z});
    return Matrix44::Multiply(local, carFrame);
}

void dcCar::PlaceWheels()
{
    const Matrix44 carFrame = CarFrame();
    for (int32_t i = 0; i < VehicleType::kWheelCount; ++i) {
        Wheel& wheel = wheels_[static_cast<size_t>(i)];
        wheel.lastWorldPosition = WheelTransform(i, carFrame).GetRow(3);
        wheel.sphere.SetPosition(wheel.lastWorldPosition);
    }
}

void dcCar::StepWheels(const StepFrame& frame, float rpm, float dt)
{
    const Matrix44 carFrame = CarFrame();
    for (int32_t i = 0; i < VehicleType::kWheelCount; ++i) {
        Wheel& wheel = wheels_[static_cast<size_t>(i)];
        const Matrix44 world = WheelTransform(i, carFrame);
        const Vec3 position = world.GetRow(3);
        const float radius = wheel.sphere.GetRadius();
        if (radius > 0.0f && frame.onGround) {
            const Vec3 velocity = Vec3::TransformDirection((wheel.lastWorldPosition - position) * (1.0f / dt), Transposed(world));
            wheel.spin = velocity.z / radius;
            wheel.rollAngle -= wheel.spin * dt;
        } else if (radius > 0.0f) {
            const float g = fuelGauge_ && fuelGauge_->IsBurning() ? fuelGauge_->GetBoostFactor() : 1.0f;
            const float target = type_.finalDrive / radius * GearRatio(gear) * type_.driveEfficiency * throttle * g * GetTorque(rpm);
            wheel.spin = Lerp(wheel.spin, target, dt / 3.0f);
            wheel.rollAngle -= wheel.spin * dt / 30.0f;
        }
        wheel.lastWorldPosition = position;
        wheel.sphere.SetPosition(position);
    }
}

void dcCar::StepCrash(float dt)
{
    respawnGrace -= dt;
    const Vec3 v = GetVelocity();
    if (respawnGrace <= 0.0f) {
        const Vec3 change = lastVelocity - v;
        const float size = change.Length();
        if (size > 30.0f) {
            dcDamageMessage crash;
            crash.attacker = this;
            crash.direction = change;
            crash.direction.Normalize();
            crash.amount = 25.0f * Clamp01((size - 30.0f) * 0.005f);
            crash.kind = kDamageExplosion;
            OnDamage(crash);
        }
        const GameModule* game = GameModule::Get();
        const bool decides = !game || !game->IsNetworkClient();
        const bool seated = !player || !GetCarLinks().isPlayerInCar || GetCarLinks().isPlayerInCar(*player);
        if (RagdollEnabled && seated && decides) {
            const Matrix44 drawn = look_ ? look_->GetRenderMatrix() : RotationOf(GetOrientation());
            if (size > 100.0f || drawn.GetRow(1).y < 0.5f) {
                driverInControl = false;
            }
        }
    }
    lastVelocity = v;
}

// The damage handler collects the impacts and sets the cooldown.
void dcCar::StepCrashSound()
{
    if (crashSoundCooldown > 0.0f || impactAccumulator == 0.0f) {
        return;
    }
    if (impactAccumulator > 0.02f * maxHealth_ && !silent) {
        sounds_->PlayCrash(CarSounds::CrashClass(impactAccumulator), GetPosition());
    }
    impactAccumulator = 0.0f;
}

void dcCar::StepSounds(const StepFrame& frame, float dt)
{
    if (silent) {
        return;
    }
    CarSounds::Drive drive;
    drive.position = GetPosition();
    drive.engineRpm = engineRpm;
    drive.wheelieAmount = wheelieAmount;
    drive.throttle = throttle;
    drive.wrecked = health_ == 0.0f;
    drive.skidding = frame.onGround && IsSkidding(steerAngle);
    drive.wheelSpin = std::fabs(wheelRpm - engineRpm) > 1000.0f;
    sounds_->Update(type_, drive, dt);
}

void dcCar::StepCamera(float dt)
{
    GameModule* game = GameModule::Get();
    dcEntityCamera* camera = game ? game->GetActiveCamera() : nullptr;
    if (!camera || GetId() == 0 || camera->GetTargetId() != GetId()) {
        return;
    }
    const int32_t mode = camera->GetMode();
    if (mode < 0 || mode > 9) {
        camera->SetFov(75.0f * kPi / 180.0f);
        return;
    }
    const float widening = Clamp01(GetVelocity().Length() * 0.36f * 0.004f);
    const float wanted = (40.0f + 60.0f * widening * widening) * kPi / 180.0f;
    camera->SetFov(Lerp(camera->GetFov(), wanted, 2.0f * dt));
}

void dcCar::StepTipOver(const StepFrame& frame, float dt)
{
    const float upY = RotationOf(GetOrientation()).GetRow(1).y;
    if (upY >= 0.1f) {
        upsideDownTimer = 0.0f;
    } else if (frame.touching) {
        upsideDownTimer += frame.startSpeed < 100.0f ? 4.0f * dt : dt;
    }
    if (upsideDownTimer > 5.0f && driverInControl && health_ != 0.0f) {
        Upright();
    }
}

void dcCar::OnContact(const dcContact& message)
{
    message.selfBody = &body_;
    message.friction = 0.0f;
    message.secondFriction = 0.0f;
    if (health_ == 0.0f) {
        message.friction = 5000.0f;
        return;
    }
    const int32_t otherCategory = message.other ? message.other->GetCategoryBits() : 0;
    if ((otherCategory & 0x08) != 0) {
        message.softCfm = 0.01f;
    }
    const dcCar* otherCar = nullptr;
    if ((otherCategory & kCarCategoryBit) != 0) {
        otherCar = dynamic_cast<const dcCar*>(message.otherOwner);
        const float fastSquared = kFastCarContact * kFastCarContact;
        const bool fast = Vec3::Dot(GetVelocity(), GetVelocity()) > fastSquared ||
                          (otherCar && Vec3::Dot(otherCar->GetVelocity(), otherCar->GetVelocity()) > fastSquared);
        if (!slowSync && fast) {
            message.friction = 10000.0f;
        }
        contactSteerTimer = 0.5f;
        steerLockedByContact = otherCar ? !otherCar->locksOthers : false;
    }
    for (int32_t i = 0; i < VehicleType::kWheelCount; ++i) {
        if (message.self == &wheels_[static_cast<size_t>(i)].sphere) {
            OnWheelContact(message, i);
            return;
        }
    }
    OnChassisContact(message, otherCar);
}

void dcCar::OnChassisContact(const dcContact& message, const dcCar* otherCar)
{
    if (!IsOnGround()) {
        message.friction = 5000.0f;
    }
    MessageReceiver* driver = otherCar ? GetDriver() : nullptr;
    if (driver && GetCarLinks().notifyDriverCollision) {
        GetCarLinks().notifyDriverCollision(*driver, *const_cast<dcCar*>(otherCar));
    }
    const int32_t otherCategory = message.other ? message.other->GetCategoryBits() : 0;
    const Vec3 velocity = GetVelocity();
    if (visibleToCamera && (otherCategory & 0x0F) != 0 && sparkCooldown < 0.0f && Vec3::Dot(velocity, velocity) > 100.0f) {
        if ((std::rand() & 7) == 0 && damage_) {
            Vec3 r{RandomRange(-1.0f, 1.0f), RandomRange(-1.0f, 1.0f), RandomRange(-1.0f, 1.0f)};
            r.Normalize();
            damage_->SpawnContactSpark(message.position, message.normal * 10.0f + r * 30.0f + Vec3{0.0f, 25.0f, 0.0f});
        }
        sparkCooldown = 0.01f;
    }
    airTime = 0.0f;
}

void dcCar::OnWheelContact(const dcContact& message, int32_t index)
{
    Wheel& wheel = wheels_[static_cast<size_t>(index)];
    message.softErp = type_.wheelSoftErp;
    message.softCfm = type_.wheelSoftCfm * 10.0f / 99.0f;
    wheel.contactAge = 0.0f;
    wheel.suspension = MinFloat(wheel.suspension + 5.0f * message.depth, wheel.suspensionMax);
    if (!driverInControl) {
        message.position = message.position + Vec3{-10.0f, 0.0f, -10.0f};
    }
    LaySkidMark(message, index);
}
