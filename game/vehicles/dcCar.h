#pragma once
// The drivable car: a member of the game scene with a chassis body and its
// collision box, four wheel spheres that hold it up, its weapon slots, its
// special and its boost gauge, and its network state. Once per fixed step
// it removes sideways speed, turns about its rear axle like a bicycle,
// pushes with its engine and brakes, and eases every control toward its
// target; the physics world then integrates the body. Its damage and its
// look are parts of their own (CarLinks.h).
//
// Units: 1 world unit is 0.1 m; car space x to the side, y up, forward -z.

#include "engine/core/EngineMessages.h"
#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"
#include "engine/physics/BoxGeom.h"
#include "engine/physics/OffsetRigidBody.h"
#include "engine/physics/PhysicsMessages.h"
#include "engine/physics/SphereGeom.h"
#include "game/vehicles/CarLinks.h"
#include "game/vehicles/CarMessages.h"
#include "game/vehicles/CarSounds.h"
#include "game/vehicles/CarState.h"
#include "game/vehicles/VehicleType.h"
#include "game/weapons/FuelGauge.h"
#include "game/world/CameraMessages.h"
#include "game/world/GameMessages.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class Model;
class PhysicsWorld;
class dcCarSpecial;
class dcCarWeapon;
class dcPlayer;
class dcSkidMarks;
struct dcDamageMessage;
struct dcExtDamageMessage;
struct dcTargetMessage;

class dcCar : public MessageReceiver {
    DC_RECEIVER(dcCar, MessageReceiver)
public:
    static constexpr int32_t kChassisCategory = 0x204;
    static constexpr int32_t kCarCategoryBit = 0x200;
    static constexpr int32_t kAwakeCollide = 7;
    static constexpr int32_t kAsleepCollide = 4;
    // The body's mass sits this far below the car's origin, in car space.
    static constexpr Vec3 kCentreOfMass{0.0f, -10.0f, 0.0f};

    struct Wheel {
        SphereGeom sphere{1.0f};
        Vec3 mount;
        float suspensionMin = -1.75f;
        float suspension = 0.0f;
        float suspensionMax = 0.25f;
        float rollAngle = 0.0f;
        Vec3 lastWorldPosition;
        float spin = 0.0f;
        float contactAge = 0.0f;   // seconds since the sphere last touched something
        dcSkidMarks* skidStrip = nullptr;   // the strip this wheel draws while it skids
        float skidInterval = 0.0f;          // seconds to the next skid-mark point
        Vec3 lastSkidPoint;
    };

    // A detachable part of the chassis model (CarDamageObject.h).
    class DamageObject;

    struct Pose {
        Vec3 position;
        Quaternion orientation;
        Vec3 velocity;   // car space
        int32_t id = 0;   // 0: a fresh id
    };

    // In the game module's physics world. skin is held inside the type's skins.
    dcCar(const VehicleType& type, int32_t skin);
    // In a physics world of the caller's (a second peer's world in tests).
    dcCar(const VehicleType& type, int32_t skin, PhysicsWorld& physics);
    ~dcCar() override;

    virtual void SetWeapon(dcCarWeapon* weapon);
    virtual void SetSecondWeapon(dcCarWeapon* weapon);

    // Into the game module's scene, then placed; the host tells its clients.
    void Spawn(const Pose& pose);
    // The same in the given scene.
    void Spawn(Scene& scene, const Pose& pose);
    void PlaceAt(const Vec3& position, const Quaternion& orientation, const Vec3& carVelocity);
    // Keeps only the heading.
    void Upright();
    // Health 0, the explosion, and the listeners told who killed the car;
    // once: a wrecked car neither explodes nor dies again.
    void Wreck(const dcDamageMessage& damage);

    Vec3 GetPosition() const { return body_.GetPosition(); }
    Quaternion GetOrientation() const { return body_.GetOrientation(); }
    Vec3 GetVelocity() const { return body_.GetLinearVelocity(); }
    BoxGeom& GetChassisGeom() { return chassisBox_; }
    RigidBody& GetBody() { return body_; }
    MessageReceiver* GetDriver() const;
    void ClearInput();

    bool IsOnGround() const;
    // The pose the model is drawn with: aligned sets a scooter on the ground
    // upright, leaning adds the visual pitch, roll and wheelie (the wheelie
    // halved when asked).
    Matrix44 GetRenderMatrix(bool aligned, bool leaning, bool halfWheelie) const;
    // The drawing turn of wheel 0 to 3 (rolled, steered, without the body's lean); only its rotation counts.
    Matrix44 GetWheelMatrix(int32_t index) const;
    float GetSteerFactor(const Vec3& carVelocity) const;
    // The steering left unmet.
    float SteerTowards(const Vec3& direction);
    float GetEngineRpm(int32_t gear) const;
    float GetTorque(float rpm) const;
    int32_t ChooseGear(float hysteresis) const;
    // The ratio of the gear; 0 for a gear the type does not have.
    float GearRatio(int32_t gear) const;

    // The state the host sends; clears the snap request.
    dcCarData BuildCarData();
    void SendCarData(int32_t connection);

    const VehicleType& GetType() const { return type_; }
    // The name of the skin the car wears; empty for a type without skins.
    const WideString& GetSkinName() const { return skinName_; }
    float GetHealth() const { return health_; }
    float GetMaxHealth() const { return maxHealth_; }
    void SetHealth(float health, float maxHealth);
    const Wheel& GetWheel(int32_t index) const { return wheels_[static_cast<size_t>(index)]; }
    FuelGauge* GetFuelGauge() const { return fuelGauge_.get(); }
    dcCarSpecial* GetSpecial() const { return special_; }
    dcCarWeapon* GetWeapon() const { return weapon_; }
    // The models in the car's skin, under the world's shader values.
    const std::vector<std::unique_ptr<Model>>& GetChassisModels() const { return chassisModels_; }
    const std::vector<std::unique_ptr<Model>>& GetLodModels() const { return lodModels_; }
    Model* GetWreckModel() const { return wreckModel_.get(); }
    // The chassis model the damage parts were built for; none for a type without chassis files.
    Model* currentModel = nullptr;
    // The id of each chassis model's "BoostFader" value.
    int32_t GetBoostFaderVariable() const { return boostFaderVariable_; }
    const std::vector<int32_t>& GetListeners() const { return listeners_; }

    // Controls, as the last dcCarInput (or the host) left them.
    float throttle = 0.0f;
    float brake = 0.0f;
    float steering = 0.0f;
    int32_t gear = 0;
    float handbrake = 0.0f;

    int32_t figureId = 0;
    dcPlayer* player = nullptr;
    float contactSteerTimer = 0.0f;
    bool steerLockedByContact = false;
    bool directSteering = true;
    bool locksOthers = true;
    bool creatorFlag = false;
    bool slowSync = true;
    bool inputEnabled = true;
    bool lightsOn = true;
    float engineRpm = 0.0f;
    float wheelRpm = 0.0f;
    float pedal = 0.0f;
    float steerAngle = 0.0f;
    float driftAngle = 0.0f;
    float steerFactor = 0.0f;
    float wheelieAmount = 0.0f;
    float leanAngle = 0.0f;
    bool driverInControl = true;
    bool effectsEnabled = true;
    bool isScooter = false;
    float respawnGrace = 0.0f;
    bool snapNext = false;
    Vec3 lastGroundPosition;
    Vec3 lastGroundDirection;
    Vec3 lastVelocity;
    Vec3 prevCarVelocity;
    float pitchLean = 0.0f;
    float rollLean = 0.0f;
    float airTime = 0.0f;
    Vec3 smoothedCarVelocity;
    bool invulnerable = false;
    bool killedByKillFloor = false;
    float impactAccumulator = 0.0f;
    float crashSoundCooldown = 0.0f;
    float sparkCooldown = 0.0f;
    float skidTimer = 0.0f;   // accumulator of the skid smoke
    bool effectsSuppressed = false;
    bool visibleToCamera = false;
    bool hidden = false;
    float targetPriority = 0.0f;
    float upsideDownTimer = 0.0f;
    int32_t ownerConnection = 0;   // the client whose player drives the car; 0 none
    float syncTimer = 0.0f;
    float ownerSyncTimer = 0.0f;
    Vec3 netPositionError;
    Quaternion netRotationError;
    bool silent = false;   // the car never touches its voices

protected:
    void OnGameReset(const dcGameReset& message);
    void OnSceneAdd(const dcSceneAdd& message);
    void OnSceneDel(const dcSceneDel& message);
    void OnCamOrientation(const dcCamOrientation& message);
    void OnOrientation(const dcOrientation& message);
    void OnGetGeometry(const dcGetGeometry& message);
    void OnTarget(const dcTargetMessage& message);
    void Update(const dcUpdate& message);
    void OnVisTest(const dcVisTest& message);
    void OnRender(const dcRender& message);
    void OnCamModeOverride(const dcCamModeOverride& message);
    void OnCamMode(const dcCamMode& message);
    void OnExtDamage(const dcExtDamageMessage& message);
    void OnDamage(const dcDamageMessage& message);
    void OnContact(const dcContact& message);
    void OnPhysicsForce(const dcPhysicsForce& message) {}
    void OnRespawn(const dcRespawnMessage& message);
    void OnAddListener(const dcAddEntityListener& message);
    void OnDelListener(const dcDelEntityListener& message);
    void OnCarInit(const dcCarInit& message, int32_t connection);
    void OnCarInput(const dcCarInput& message, int32_t connection);
    void OnCarData(const dcCarData& message, int32_t connection);
    void OnCarSetWeapon(const dcCarSetWeapon& message, int32_t connection);

private:
    struct StepFrame;

    void RegisterHandlers();
    void LoadModels(int32_t skin);
    void SetUpBody();
    void SetUpWheels();
    Matrix44 CarFrame() const;
    void DriveOnGround(StepFrame& frame, float dt);
    void TurnHeading(StepFrame& frame, float dt);
    float StepEngine(const StepFrame& frame, float dt);
    void ApplyBrakesAndDrag(StepFrame& frame, float rpm);
    void ApplyDrive(const StepFrame& frame, float rpm);
    void WriteBack(const StepFrame& frame);
    Matrix44 WheelTransform(int32_t index, const Matrix44& carFrame) const;
    // The spheres stand where the car's wheels are, before any contact is sought.
    void PlaceWheels();
    void StepWheels(const StepFrame& frame, float rpm, float dt);
    void StepCrash(float dt);
    void StepCamera(float dt);
    void StepTipOver(const StepFrame& frame, float dt);
    void StepNetwork(float dt);
    void StepCrashSound();
    void StepSounds(const StepFrame& frame, float dt);
    void ApplyCarData(const CarState& state);
    void OnWheelContact(const dcContact& message, int32_t index);
    // The skid test with the steering angle given: the target in the step, the eased angle elsewhere.
    bool IsSkidding(float steerAngleNow) const;
    // Whether the effects leave the wheel out of skids (a scooter's second track, a front wheel in the air).
    bool SkipsSkids(int32_t index) const;
    Vec3 OntoCentreLine(const Vec3& point) const;
    void LaySkidMark(const dcContact& message, int32_t index);
    void EmitSkidSmoke(float steerTarget, float dt);
    // Gives the wheels' strips back to the pool, breaking them.
    void ReleaseSkidStrips();
    void OnChassisContact(const dcContact& message, const dcCar* otherCar);
    void SetHeading(const Quaternion& orientation);
    bool IsHost() const;
    bool IsLocalPlayersCar() const;
    // Whether a message that only the host may send came from the host.
    bool CameFromHost(int32_t connection, const char* what) const;
    bool MayTakeId(int32_t id, const char* what) const;

    const VehicleType& type_;
    PhysicsWorld& physics_;
    BoxGeom chassisBox_;
    std::array<Wheel, VehicleType::kWheelCount> wheels_;
    OffsetRigidBody body_;
    float health_ = 500.0f;
    float maxHealth_ = 500.0f;
    bool wrecked_ = false;
    std::vector<int32_t> listeners_;
    dcCarSpecial* special_ = nullptr;   // lives in the scene
    dcCarWeapon* secondWeapon_ = nullptr;
    std::unique_ptr<FuelGauge> fuelGauge_;
    dcCarWeapon* weapon_ = nullptr;
    std::unique_ptr<CarDamage> damage_;
    std::unique_ptr<CarLook> look_;
    std::unique_ptr<CarSounds> sounds_;
    WideString nameUpper_;
    WideString skinName_;
    std::vector<std::unique_ptr<Model>> chassisModels_;
    std::vector<std::unique_ptr<Model>> lodModels_;
    std::unique_ptr<Model> wreckModel_;
    int32_t boostFaderVariable_ = 0;
};
// handlers: dcGameReset -> OnGameReset, dcSceneAdd -> OnSceneAdd, dcSceneDel -> OnSceneDel,
//   dcCamOrientation -> OnCamOrientation, dcOrientation -> OnOrientation, dcGetGeometry -> OnGetGeometry,
//   dcTargetMessage -> OnTarget, dcUpdate -> Update, dcVisTest -> OnVisTest, dcRender -> OnRender,
//   dcCamModeOverride -> OnCamModeOverride, dcCamMode -> OnCamMode, dcExtDamageMessage -> OnExtDamage,
//   dcDamageMessage -> OnDamage, dcContact -> OnContact, dcPhysicsForce -> OnPhysicsForce,
//   dcRespawnMessage -> OnRespawn, dcAddEntityListener -> OnAddListener, dcDelEntityListener -> OnDelListener,
//   dcCarInit -> OnCarInit, dcCarInput -> OnCarInput, dcCarData -> OnCarData, dcCarSetWeapon -> OnCarSetWeapon
