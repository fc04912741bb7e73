#include "game/vehicles/dcCar.h"

#include "engine/core/Scene.h"
#include "engine/math/Matrix44.h"
#include "game/weapons/DamageMessages.h"
#include "game/weapons/TargetMessage.h"
#include "game/weapons/dcCarSpecial.h"
#include "game/weapons/dcCarWeapon.h"
#include "game/weapons/dcExplosion.h"
#include "game/world/GameModule.h"
#include "game/world/PathNetwork.h"
#include "render/models/Model.h"
#include "render/shaders/ShaderVariable.h"

#include <algorithm>

namespace {

constexpr float kDefaultRespawnGrace = 3.0f;

PhysicsWorld& GamePhysics()
{
    return GameModule::Get()->GetWorld().GetPhysics();
}

// Where the traffic network's nearest node stands; the point itself without a network.
Vec3 NearestTrafficNode(const Vec3& point)
{
    Vec3 best = point;
    float bestDistance = -1.0f;
    for (const PathNode& node : TrafficNetwork().nodes) {
        const Vec3 d = node.position - point;
        const float distance = Vec3::Dot(d, d);
        if (bestDistance < 0.0f || distance < bestDistance) {
            bestDistance = distance;
            best = node.position;
        }
    }
    return best;
}

WideString UpperCased(WideString text)
{
    WideStringToUpper(text);
    return text;
}

} // namespace

dcCar::dcCar(const VehicleType& type, int32_t skin) : dcCar(type, skin, GamePhysics()) {}

dcCar::dcCar(const VehicleType& type, int32_t skin, PhysicsWorld& physics)
    : type_(type), physics_(physics), chassisBox_(type.chassisBoxHalf), body_(physics), nameUpper_(UpperCased(type.name))
{
    RegisterHandlers();
    LoadModels(skin);
    SetUpBody();
    SetUpWheels();
    sounds_ = std::make_unique<CarSounds>(type.name);
    isScooter = WideStringStartsWith(nameUpper_, L"SCOOTER");
    if (GetCarLinks().makeDamage) {
        damage_ = GetCarLinks().makeDamage(*this);
    }
}

dcCar::~dcCar() = default;

void dcCar::RegisterHandlers()
{
    Handles<dcGameReset, &dcCar::OnGameReset>();
    Handles<dcSceneAdd, &dcCar::OnSceneAdd>();
    Handles<dcSceneDel, &dcCar::OnSceneDel>();
    Handles<dcCamOrientation, &dcCar::OnCamOrientation>();
    Handles<dcOrientation, &dcCar::OnOrientation>();
    Handles<dcGetGeometry, &dcCar::OnGetGeometry>();
    Handles<dcTargetMessage, &dcCar::OnTarget>();
    Handles<dcUpdate, &dcCar::Update>();
    Handles<dcVisTest, &dcCar::OnVisTest>();
    Handles<dcRender, &dcCar::OnRender>();
    Handles<dcCamModeOverride, &dcCar::OnCamModeOverride>();
    Handles<dcCamMode, &dcCar::OnCamMode>();
    Handles<dcExtDamageMessage, &dcCar::OnExtDamage>();
    Handles<dcDamageMessage, &dcCar::OnDamage>();
    Handles<dcContact, &dcCar::OnContact>();
    Handles<dcPhysicsForce, &dcCar::OnPhysicsForce>();
    Handles<dcRespawnMessage, &dcCar::OnRespawn>();
    Handles<dcAddEntityListener, &dcCar::OnAddListener>();
    Handles<dcDelEntityListener, &dcCar::OnDelListener>();
    Handles<dcCarInit, &dcCar::OnCarInit>();
    Handles<dcCarInput, &dcCar::OnCarInput>();
    Handles<dcCarData, &dcCar::OnCarData>();
    Handles<dcCarSetWeapon, &dcCar::OnCarSetWeapon>();
}

// ODE keeps a body's centre of mass at its origin: the ODE body sits at the
// car's centre of mass, the car's origin is an offset from it, and the
// chassis box is placed relative to the mass.
void dcCar::LoadModels(int32_t skin)
{
    const int32_t lastSkin = std::max(static_cast<int32_t>(type_.skins.size()) - 1, 0);
    const int32_t chosen = std::clamp(skin, 0, lastSkin);
    skinName_ = type_.skins.empty() ? WideString() : type_.skins[static_cast<size_t>(chosen)].name;
    ShaderVariableBlock* world = GameModule::Get() ? &GameModule::Get()->GetWorld() : nullptr;
    const auto load = [&](const WideString& file) {
        auto model = std::make_unique<Model>(file, skinName_);
        model->SetParent(world);
        return model;
    };
    for (const WideString& file : type_.chassisFiles) {
        chassisModels_.push_back(load(file));
        boostFaderVariable_ = chassisModels_.back()->AddVariable(L"BoostFader", kShaderValue, false);
    }
    for (const WideString& file : type_.lodFiles) {
        lodModels_.push_back(load(file));
    }
    if (!type_.wreckFile.empty()) {
        wreckModel_ = load(type_.wreckFile);
    }
    currentModel = chassisModels_.empty() ? nullptr : chassisModels_.front().get();
}

void dcCar::SetUpBody()
{
    chassisBox_.SetOwner(this);
    chassisBox_.SetOffset(type_.chassisBoxCentre - kCentreOfMass);
    chassisBox_.SetCategoryBits(kChassisCategory);
    chassisBox_.SetCollideBits(kAwakeCollide);
    body_.SetOffset(kCentreOfMass);
    body_.AttachGeom(&chassisBox_);
    body_.SetMass(type_.mass);
    const Vec3 size = type_.chassisBoxHalf * 2.0f;
    const Vec3 squares{size.x * size.x, size.y * size.y, size.z * size.z};
    // The yaw term is four times a solid box's: cars turn less readily than they roll.
    body_.SetScaledInertia({squares.y + squares.z, 4.0f * (squares.x + squares.z), squares.x + squares.y});
}

void dcCar::SetUpWheels()
{
    for (int32_t i = 0; i < VehicleType::kWheelCount; ++i) {
        Wheel& wheel = wheels_[static_cast<size_t>(i)];
        wheel.sphere.SetRadius(type_.wheelRadii[static_cast<size_t>(i)]);
        wheel.sphere.SetOwner(this);
        wheel.sphere.SetCategoryBits(0);
        wheel.sphere.SetCollideBits(1);
        wheel.sphere.SetFlag(kGeomSensing, true);
        wheel.mount = type_.wheelMounts[static_cast<size_t>(i)];
        wheel.rollAngle = static_cast<float>(i);
    }
}

void dcCar::Spawn(const Pose& pose)
{
    Spawn(GameModule::Get()->GetScene(), pose);
}

void dcCar::Spawn(Scene& scene, const Pose& pose)
{
    if (pose.id != 0) {
        scene.AddWithId(this, pose.id);
    } else {
        scene.Add(this);
    }
    PlaceAt(pose.position, pose.orientation, pose.velocity);
    if (IsHost() && GetId() != 0) {
        dcCarInit init;
        init.specialId = special_ ? special_->GetId() : 0;
        GameModule::Get()->GetHostRouter()->Send(GetId(), init, 0);
    }
}

void dcCar::PlaceAt(const Vec3& position, const Quaternion& orientation, const Vec3& carVelocity)
{
    Matrix44 rotation;
    Quaternion::ToMatrix(orientation, rotation);
    // The chassis model's underside, not its origin, rests on the point.
    const Model* chassis = chassisModels_.empty() ? nullptr : chassisModels_.front().get();
    const float depth = chassis ? chassis->GetBoundsHalfExtents().y - chassis->GetBoundsCentre().y : 0.0f;
    body_.SetOrientation(orientation);
    body_.SetPosition(position + Vec3{0.0f, depth, 0.0f});
    body_.SetLinearVelocity(Vec3::TransformDirection(carVelocity, rotation));
    PlaceWheels();
}

void dcCar::Upright()
{
    Matrix44 rotation;
    body_.GetRotation(rotation);
    Vec3 side = Vec3::Cross(kWorldUp, rotation.GetRow(2));
    side.Normalize();
    Vec3 forward = Vec3::Cross(side, kWorldUp);
    forward.Normalize();
    SetHeading(Quaternion::FromMatrix([&] {
        Matrix44 upright;
        upright.SetRow(0, side);
        upright.SetRow(1, kWorldUp);
        upright.SetRow(2, forward);
        return upright;
    }()));
    upsideDownTimer = 0.0f;
    wheelieAmount = 0.0f;
    leanAngle = 0.0f;
}

// The origin stays where it is as the body turns about its centre of mass.
void dcCar::SetHeading(const Quaternion& orientation)
{
    const Vec3 position = body_.GetPosition();
    body_.SetOrientation(orientation);
    body_.SetPosition(position);
}

void dcCar::SetHealth(float health, float maxHealth)
{
    maxHealth_ = maxHealth;
    health_ = health;
}

void dcCar::Wreck(const dcDamageMessage& damage)
{
    health_ = 0.0f;
    if (wrecked_) {
        return;
    }
    wrecked_ = true;
    dcExplosion::Spawn(&chassisBox_, GetPosition(), kWorldUp, 0, GetId());
    dcEntityKilled killed;
    killed.killer = damage.attacker ? damage.attacker->GetId() : GetId();
    killed.victim = GetId();
    Scene* scene = GetScene();
    for (const int32_t id : std::vector<int32_t>(listeners_)) {
        if (scene) {
            SendToEntity(*scene, id, killed);
        }
    }
}

MessageReceiver* dcCar::GetDriver() const
{
    const CarLinks& links = GetCarLinks();
    if (!player || !links.driverIdOf || !GetScene()) {
        return nullptr;
    }
    const int32_t id = links.driverIdOf(*player);
    return id != 0 ? GetScene()->FindReceiver(id) : nullptr;
}

void dcCar::ClearInput()
{
    throttle = 0.0f;
    brake = 0.0f;
    steering = 0.0f;
    handbrake = 0.0f;
    if (special_) {
        special_->Trigger(false, false);
    }
    if (fuelGauge_) {
        fuelGauge_->SetActive(false);
    }
}

void dcCar::SetWeapon(dcCarWeapon* weapon)
{
    const bool sameKind = weapon && weapon_ && weapon->GetClassID() == weapon_->GetClassID();
    if (weapon_) {
        weapon_->SetOwner(nullptr, false);
    }
    weapon_ = weapon;
    if (weapon_) {
        weapon_->SetOwner(this, sameKind);
    }
    if (IsHost() && GetId() != 0) {
        dcCarSetWeapon message;
        message.weaponClass = weapon ? weapon->GetClassID() : -1;
        message.weaponId = weapon ? weapon->GetId() : 0;
        GameModule::Get()->GetHostRouter()->Send(GetId(), message, 0);
    }
}

void dcCar::SetSecondWeapon(dcCarWeapon* weapon)
{
    const bool sameKind = weapon && secondWeapon_ && weapon->GetClassID() == secondWeapon_->GetClassID();
    if (secondWeapon_) {
        secondWeapon_->SetOwner(nullptr, false);
    }
    secondWeapon_ = weapon;
    if (secondWeapon_) {
        secondWeapon_->SetOwner(this, sameKind);
    }
}

void dcCar::OnGameReset(const dcGameReset& message)
{
    // The reset deletes every skid strip: none may be given back after it.
    for (Wheel& wheel : wheels_) {
        wheel.skidStrip = nullptr;
    }
    Release();
}

void dcCar::OnSceneAdd(const dcSceneAdd& message)
{
    const CarLinks& links = GetCarLinks();
    if (links.makeSpecial) {
        WideString hornSound;
        FormatWideStringW(hornSound, L"Vehicles\\%ls\\Horn.wav", type_.name.c_str());
        special_ = links.makeSpecial(*this, !type_.copLights.empty(), hornSound);
        if (special_) {
            GetScene()->Add(special_);
        }
    }
    fuelGauge_ = std::make_unique<FuelGauge>(*this);
    if (links.makeLook) {
        look_ = links.makeLook(*this);
    }
    chassisBox_.AddToWorld(physics_);
    for (Wheel& wheel : wheels_) {
        wheel.sphere.AddToWorld(physics_);
    }
    body_.Enable();
    if (!silent) {
        sounds_->Start();
    }
    crashSoundCooldown = 0.0f;
    impactAccumulator = 0.0f;
    sparkCooldown = 0.0f;
    killedByKillFloor = false;
}

void dcCar::OnSceneDel(const dcSceneDel& message)
{
    look_.reset();
    ReleaseSkidStrips();
    chassisBox_.RemoveFromWorld(physics_);
    body_.Disable();
    for (Wheel& wheel : wheels_) {
        wheel.sphere.RemoveFromWorld(physics_);
    }
    if (special_) {
        special_->Release();
        special_ = nullptr;
    }
    SetWeapon(nullptr);
    SetSecondWeapon(nullptr);
    if (!silent) {
        sounds_->Stop();
    }
    if (figureId != 0 && GetScene()) {
        GetScene()->DeleteById(figureId);
    }
}

void dcCar::OnOrientation(const dcOrientation& message)
{
    message.position = GetPosition();
    message.orientation = GetOrientation();
}

void dcCar::OnGetGeometry(const dcGetGeometry& message)
{
    message.geometry = &chassisBox_;
}

void dcCar::OnCamOrientation(const dcCamOrientation& message)
{
    if (look_) {
        look_->OnCamOrientation(message);
    }
}

void dcCar::OnTarget(const dcTargetMessage& message)
{
    if (look_) {
        look_->OnTarget(message);
    }
}

void dcCar::OnVisTest(const dcVisTest& message)
{
    if (look_) {
        look_->OnVisTest(message);
    }
}

void dcCar::OnRender(const dcRender& message)
{
    if (look_) {
        look_->OnRender(message);
    }
}

void dcCar::OnCamModeOverride(const dcCamModeOverride& message)
{
    if (look_) {
        look_->OnCamModeOverride(message);
    }
}

void dcCar::OnCamMode(const dcCamMode& message)
{
    if (look_) {
        look_->OnCamMode(message);
    }
}

void dcCar::OnExtDamage(const dcExtDamageMessage& message)
{
    // Its first part is the plain damage record.
    dcDamageMessage damage;
    damage.attacker = message.attacker;
    damage.direction = message.direction;
    damage.hitGeometry = message.hitGeometry;
    damage.amount = message.amount;
    damage.kind = message.kind;
    damage.forced = message.forced;
    OnDamage(damage);
}

void dcCar::OnDamage(const dcDamageMessage& message)
{
    if (damage_) {
        damage_->OnDamage(message);
    }
}

void dcCar::OnRespawn(const dcRespawnMessage& message)
{
    if (GameModule::Get() && GameModule::Get()->IsNetworkClient()) {
        return;
    }
    const Vec3 position = NearestTrafficNode(lastGroundPosition);
    Matrix44 heading;
    heading.FromForward(lastGroundDirection);
    PlaceAt(position, Quaternion::FromMatrix(heading), kZeroVector);
    Upright();
    driverInControl = true;
    respawnGrace = kDefaultRespawnGrace;
    lastVelocity = GetVelocity();
    snapNext = true;
}

void dcCar::OnAddListener(const dcAddEntityListener& message)
{
    if (std::find(listeners_.begin(), listeners_.end(), message.id) == listeners_.end()) {
        listeners_.push_back(message.id);
    }
}

void dcCar::OnDelListener(const dcDelEntityListener& message)
{
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), message.id), listeners_.end());
}

bool dcCar::IsHost() const
{
    const GameModule* game = GameModule::Get();
    return game && game->GetHostRouter() != nullptr;
}

bool dcCar::IsLocalPlayersCar() const
{
    const CarLinks& links = GetCarLinks();
    return links.localPlayersCar && links.localPlayersCar() == this;
}
