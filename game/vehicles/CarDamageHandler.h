#pragma once
// What a car does with the damage it is handed: the amount scaled for a
// vehicle, heavier cars hurt less by impacts, a cap per hit unless the hit is
// forced, a third of it while airborne; the crash sound collected, a puff of
// smoke for a visible hit, and the wreck once the health is gone, decided by
// the host alone. It also keeps the detachable parts of the chassis model
// the car is drawn with, and throws the car's scraps.

#include "game/vehicles/CarDamageObject.h"
#include "game/vehicles/CarLinks.h"

#include <memory>
#include <vector>

class Model;

class CarDamageHandler : public CarDamage {
public:
    static constexpr float kCapShare = 0.2f;          // of the maximum health, per unforced hit
    static constexpr float kAirborneShare = 0.33333334f;
    static constexpr float kImpactMass = 1000.0f;     // the mass whose impacts count eight times
    static constexpr float kImpactFactor = 8.0f;
    static constexpr float kHarmlessImpactSpeedSquared = 10000.0f;
    static constexpr float kCrashSoundCooldown = 0.05f;

    explicit CarDamageHandler(dcCar& car);

    void OnDamage(const dcDamageMessage& damage) override;
    void StepParts(const Vec3& deceleration, float dt) override;
    void PlaceParts(const Matrix44& renderMatrix) override;
    void SpawnContactSpark(const Vec3& point, const Vec3& velocity) override;

    // The amount the hit takes from the car, before the slow-impact exemption.
    float ScaledAmount(const dcDamageMessage& damage) const;
    // Smoke puffs for a hit of this unscaled amount; 0 for fire and explosions.
    int32_t SmokePuffCount(const dcDamageMessage& damage) const;
    const std::vector<std::unique_ptr<dcCar::DamageObject>>& GetParts() const { return parts_; }
    const std::shared_ptr<Model>& GetDamageModel() const { return damageModel_; }

private:
    bool Accepts(const dcDamageMessage& damage) const;
    void TakeHealth(const dcDamageMessage& damage, float amount);
    void CollectImpact(float amount);
    void ThrowSmoke(const dcDamageMessage& damage);
    // The parts follow the model the car is drawn with.
    void FollowModel();

    dcCar& car_;
    std::shared_ptr<Model> damageModel_;
    Model* partsModel_ = nullptr;   // the model parts_ belong to
    std::vector<std::unique_ptr<dcCar::DamageObject>> parts_;
};

// The car's damage for every car made from now on.
void InstallCarDamage();
