#pragma once
// What a car uses of the code built around it: its damage (loose parts,
// sparks, the damage handler), its look (drawing, lights, camera framing,
// visibility), its special device, the weapon factories, and its player and
// driver. That code installs its makers and queries here once at start-up;
// a car made while one is missing goes without that part.

#include "engine/files/WideString.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Vec3.h"

#include <cstdint>
#include <memory>

class MessageReceiver;
class dcCar;
class dcCarSpecial;
class dcCarWeapon;
class dcPlayer;
struct dcCamMode;
struct dcCamModeOverride;
struct dcCamOrientation;
struct dcDamageMessage;
struct dcRender;
struct dcTargetMessage;
struct dcVisTest;

class CarDamage {
public:
    virtual ~CarDamage() = default;
    // Also the first part of dcExtDamageMessage.
    virtual void OnDamage(const dcDamageMessage& damage) = 0;
    // The hinge and fall of the parts, once per step; deceleration is the
    // car-space change of velocity of the step, per second.
    virtual void StepParts(const Vec3& deceleration, float dt) = 0;
    // The attached parts follow the drawn pose (the render matrix) of the body.
    virtual void PlaceParts(const Matrix44& renderMatrix) = 0;
    virtual void SpawnContactSpark(const Vec3& point, const Vec3& velocity) = 0;
};

// Made as the car enters the scene (it takes the light halos), gone as it leaves.
class CarLook {
public:
    virtual ~CarLook() = default;
    virtual void OnCamOrientation(const dcCamOrientation& message) = 0;
    virtual void OnVisTest(const dcVisTest& message) = 0;
    virtual void OnRender(const dcRender& message) = 0;
    virtual void OnTarget(const dcTargetMessage& message) = 0;
    virtual void OnCamModeOverride(const dcCamModeOverride& message) = 0;
    virtual void OnCamMode(const dcCamMode& message) = 0;
    virtual void UpdateLights(float dt) = 0;
    // The drawn pose: aligned, leaning, with the wheelie.
    virtual Matrix44 GetRenderMatrix() const = 0;
};

struct CarLinks {
    std::unique_ptr<CarDamage> (*makeDamage)(dcCar& car) = nullptr;
    std::unique_ptr<CarLook> (*makeLook)(dcCar& car) = nullptr;
    // Cop lights when the type has police light nodes, else a horn.
    dcCarSpecial* (*makeSpecial)(dcCar& car, bool policeLights, const WideString& hornSound) = nullptr;
    // A weapon of the class registered under the id and mounted; none for an unknown class.
    dcCarWeapon* (*giveWeapon)(int32_t weaponClass, dcCar& car, int32_t objectId) = nullptr;
    int32_t (*driverIdOf)(const dcPlayer& player) = nullptr;
    // The player's own object id (a camera may film the player rather than the car).
    int32_t (*playerIdOf)(const dcPlayer& player) = nullptr;
    bool (*isPlayerInCar)(const dcPlayer& player) = nullptr;
    // The car of this machine's player; none when there is none.
    const dcCar* (*localPlayersCar)() = nullptr;
    // The driver's notification of a collision with another car.
    void (*notifyDriverCollision)(MessageReceiver& driver, dcCar& other) = nullptr;
    void (*setDriverAim)(MessageReceiver& driver, const int32_t (&aim)[7]) = nullptr;
};

CarLinks& GetCarLinks();
