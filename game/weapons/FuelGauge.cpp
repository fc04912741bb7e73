#include "game/weapons/FuelGauge.h"

#include "engine/math/Scalar.h"
#include "game/vehicles/dcCar.h"

namespace {
constexpr float kFreshFactor = 3.0f;
constexpr float kSpentFactor = 1.1f;
constexpr float kFactorRate = 0.5f;   // per second
constexpr float kDrainRate = 0.1f;    // level per second and unit of factor
} // namespace

void FuelGauge::Refill(float amount)
{
    level_ = MinFloat(level_ + amount, 1.0f);
}

void FuelGauge::Update(float dt)
{
    if (!burning_) {
        boostFader_ = 0.0f;
        boostFactor_ = Lerp(boostFactor_, kFreshFactor, kFactorRate * dt);
        return;
    }
    boostFader_ = 1.0f;
    boostFactor_ = Lerp(boostFactor_, kSpentFactor, kFactorRate * dt);
    level_ = std::max(level_ - dt * boostFactor_ * kDrainRate, 0.0f);
    if (owner_.GetHealth() == 0.0f) {
        burning_ = false;
    }
}
