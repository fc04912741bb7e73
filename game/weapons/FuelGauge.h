#pragma once
// A car's boost reserve: burning, it makes the car pull harder at a factor
// that starts at 3.0 and weakens toward 1.1, draining the level; released,
// the factor recovers toward 3.0.

class dcCar;

class FuelGauge {
public:
    explicit FuelGauge(const dcCar& owner) : owner_(owner) {}

    // The level is not tested: an empty gauge keeps burning while switched on.
    void SetActive(bool on) { burning_ = on; }
    bool IsBurning() const { return burning_; }
    void Refill(float amount);
    float GetLevel() const { return level_; }
    void SetLevel(float level) { level_ = level; }
    float GetBoostFactor() const { return boostFactor_; }
    float GetBoostFader() const { return boostFader_; }
    // Once per car step.
    void Update(float dt);

private:
    const dcCar& owner_;
    float level_ = 1.0f;
    float boostFader_ = 0.0f;
    float boostFactor_ = 3.0f;
    bool burning_ = false;
};
