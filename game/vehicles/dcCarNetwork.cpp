#include "game/vehicles/dcCar.h"

#include "engine/core/LogHub.h"
#include "engine/core/Scene.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Scalar.h"
#include "engine/net/HostScene.h"
#include "game/weapons/dcCarSpecial.h"
#include "game/weapons/dcCarWeapon.h"
#include "game/world/GameModule.h"

#include <algorithm>
#include <iterator>

namespace {

// The six weapon kinds a host may mount on its clients' cars.
constexpr int32_t kWeaponClasses[] = {
    HashClassName("dcCarAirStrike"), HashClassName("dcCarFlamer"),  HashClassName("dcCarMine"),
    HashClassName("dcCarMiniGun"),   HashClassName("dcCarMissile"), HashClassName("dcCarRocket"),
};

// Ids 0 to 2 address no entity: 0 and 1 are the routers' default receivers.
constexpr int32_t kFirstEntityId = 3;

} // namespace

bool dcCar::CameFromHost(int32_t connection, const char* what) const
{
    // On the host a client's message carries its connection; the host's own
    // deliveries, and everything a client receives from its host, carry 0.
    if (connection == 0) {
        return true;
    }
    LogHub::PrintError("Client %d sent %s for car %d, which only the host sends: ignored", connection, what, GetId());
    return false;
}

bool dcCar::MayTakeId(int32_t id, const char* what) const
{
    const Scene* scene = GetScene();
    if (scene && id >= kFirstEntityId && !scene->FindReceiver(id)) {
        return true;
    }
    LogHub::PrintError("%s for car %d names id %d, which is not free: ignored", what, GetId(), id);
    return false;
}

void dcCar::OnCarInput(const dcCarInput& message, int32_t connection)
{
    if (connection != 0 && connection != ownerConnection) {
        LogHub::PrintError("Client %d sent controls for car %d, which it does not drive: ignored", connection, GetId());
        return;
    }
    if (!inputEnabled) {
        return;
    }
    throttle = Clamp01(message.throttle);
    brake = Clamp01(message.brake);
    steering = Clamp(message.steering, -1.0f, 1.0f);
    handbrake = Clamp01(message.handbrake);
    const int32_t wanted = std::clamp(message.gear, -1, std::max(type_.gearCount, 0));
    if (wanted != gear && !silent) {
        sounds_->PlayGearChange();
    }
    gear = wanted;
    if (fuelGauge_) {
        fuelGauge_->SetActive((message.buttons & dcCarInput::kBoost) != 0);
    }
    if (special_) {
        special_->Trigger((message.buttons & dcCarInput::kSpecialHeld) != 0,
                          (message.buttons & dcCarInput::kSpecialPressed) != 0);
    }
    if ((message.buttons & dcCarInput::kToggleLights) != 0) {
        lightsOn = !lightsOn;
    }
    directSteering = (message.buttons & dcCarInput::kDirectSteering) != 0;
    if (weapon_) {
        MessageReceiver* driver = GetDriver();
        if (driver && GetCarLinks().setDriverAim) {
            GetCarLinks().setDriverAim(*driver, message.aim);
        }
        weapon_->Trigger((message.buttons & dcCarInput::kWeaponHeld) != 0,
                         (message.buttons & dcCarInput::kWeaponPressed) != 0,
                         (message.buttons & dcCarInput::kWeaponReleased) != 0);
    }
}

void dcCar::OnCarInit(const dcCarInit& message, int32_t connection)
{
    if (!special_ || !CameFromHost(connection, "dcCarInit") || special_->GetId() == message.specialId ||
        !MayTakeId(message.specialId, "dcCarInit")) {
        return;
    }
    GetScene()->Rekey(special_, message.specialId);
}

void dcCar::OnCarSetWeapon(const dcCarSetWeapon& message, int32_t connection)
{
    if (!CameFromHost(connection, "dcCarSetWeapon")) {
        return;
    }
    if (message.weaponClass == -1) {
        SetWeapon(nullptr);
        return;
    }
    const bool known = std::find(std::begin(kWeaponClasses), std::end(kWeaponClasses), message.weaponClass) !=
                       std::end(kWeaponClasses);
    if (!known || !GetCarLinks().giveWeapon || !MayTakeId(message.weaponId, "dcCarSetWeapon")) {
        return;
    }
    GetCarLinks().giveWeapon(message.weaponClass, *this, message.weaponId);
}

dcCarData dcCar::BuildCarData()
{
    CarState state;
    state.position = GetPosition();
    state.orientation = GetOrientation();
    state.velocity = GetVelocity();
    state.angularVelocity = body_.GetAngularVelocity();
    state.throttle = throttle;
    state.brake = brake;
    state.handbrake = handbrake;
    state.steering = steering;
    state.gear = gear;
    state.wheelRpm = wheelRpm;
    state.directSteering = directSteering;
    state.healthFraction = maxHealth_ > 0.0f ? health_ / maxHealth_ : 0.0f;
    state.lightsOn = lightsOn;
    state.gaugeBurning = fuelGauge_ && fuelGauge_->IsBurning();
    state.gaugeLevel = fuelGauge_ ? fuelGauge_->GetLevel() : 0.0f;
    state.driverInControl = driverInControl;
    state.snap = snapNext;
    snapNext = false;
    return PackCarState(state);
}

void dcCar::SendCarData(int32_t connection)
{
    const dcCarData data = BuildCarData();
    HostScene* router = GameModule::Get() ? GameModule::Get()->GetHostRouter() : nullptr;
    if (GetId() != 0 && router) {
        router->Send(GetId(), data, connection);
    }
}

void dcCar::OnCarData(const dcCarData& message, int32_t connection)
{
    if (!CameFromHost(connection, "dcCarData")) {
        return;
    }
    CarState state;
    if (!UnpackCarState(message, state)) {
        LogHub::PrintError("dcCarData for car %d holds numbers that are not finite: ignored", GetId());
        return;
    }
    ApplyCarData(state);
}

void dcCar::ApplyCarData(const CarState& state)
{
    if (state.snap) {
        netPositionError = kZeroVector;
        netRotationError = Quaternion{};
        body_.SetOrientation(state.orientation);
        body_.SetPosition(state.position);
        lastVelocity = state.velocity;
    } else {
        netPositionError = state.position - GetPosition();
        Matrix44 current;
        Matrix44 received;
        Quaternion::ToMatrix(GetOrientation(), current);
        Quaternion::ToMatrix(state.orientation, received);
        const float a = current.GetRow(1).y;
        const float b = received.GetRow(1).y;
        const bool sameSide = (a > 0.0f && b > 0.0f) || (a < 0.0f && b < 0.0f) || (a == 0.0f && b == 0.0f);
        if (sameSide) {
            netRotationError = Quaternion::Multiply(state.orientation, Quaternion::Conjugate(GetOrientation()));
        } else {
            SetHeading(state.orientation);
            netRotationError = Quaternion{};
        }
    }
    body_.SetLinearVelocity(state.velocity);
    body_.SetAngularVelocity(state.angularVelocity);
    if (!IsLocalPlayersCar()) {
        throttle = state.throttle;
        brake = state.brake;
        handbrake = state.handbrake;
        steering = state.steering;
        gear = std::clamp(state.gear, -1, std::max(type_.gearCount, 0));
        lightsOn = state.lightsOn;
        if (fuelGauge_) {
            fuelGauge_->SetActive(state.gaugeBurning);
        }
    }
    wheelRpm = state.wheelRpm;
    directSteering = state.directSteering;
    health_ = state.healthFraction * maxHealth_;
    if (fuelGauge_) {
        fuelGauge_->SetLevel(state.gaugeLevel);
    }
    driverInControl = state.driverInControl;
}

void dcCar::StepNetwork(float dt)
{
    if (!body_.IsEnabled()) {
        return;
    }
    if (IsHost()) {
        syncTimer -= dt;
        ownerSyncTimer -= dt;
        const float s = Clamp01(GetVelocity().Length() * 0.002f);
        if (syncTimer <= 0.0f) {
            SendCarData(0);
            syncTimer = slowSync ? 0.4f - 0.2f * s : 0.2f - 0.1f * s;
        }
        if (ownerConnection != 0 && ownerSyncTimer <= 0.0f) {
            SendCarData(ownerConnection);
            ownerSyncTimer = 0.1f - 0.05f * s;
        }
        return;
    }
    const Vec3 d = netPositionError * Clamp01(dt);
    netPositionError = netPositionError - d;
    const Quaternion q = Quaternion::Slerp(Quaternion{}, netRotationError, Clamp01(4.0f * dt));
    netRotationError = Quaternion::Multiply(netRotationError, Quaternion::Conjugate(q));
    const Vec3 position = GetPosition() + d;
    body_.SetOrientation(Quaternion::Multiply(GetOrientation(), q));
    body_.SetPosition(position);
}
