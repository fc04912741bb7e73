#pragma once
// How a damaged entity scales an incoming amount: by the kind of damage and
// the class of the target. Fire and impacts hurt an eighth as much as the rest.

#include <cstdint>

enum DamageTargetClass : int32_t {
    kDamageTargetUnused = 0,
    kDamageTargetPeople = 1,     // on-foot characters and pedestrians
    kDamageTargetVehicles = 2,   // cars, the chopper boss, traffic cars
};
constexpr int32_t kDamageTargetClassCount = 3;

// [target class][DamageKind]; filled as the World is made.
extern float DamageFactors[kDamageTargetClassCount][5];
void FillDamageFactors();

// amount x DamageFactors[targetClass][kind]. A kind or class outside the
// table is refused (logged) and does no damage.
float ScaleDamage(float amount, int32_t kind, int32_t targetClass);
