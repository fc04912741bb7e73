#include "game/world/FixedStepClock.h"

#include <algorithm>
#include <cmath>

void FixedStepClock::SetRate(float stepsPerSecond)
{
    rate_ = std::isnan(stepsPerSecond) ? kDefaultRate : std::clamp(stepsPerSecond, kMinimumRate, kMaximumRate);
}

void FixedStepClock::BeginFrame(float frameTime)
{
    const float taken = std::isfinite(frameTime) && frameTime > 0.0f ? std::min(frameTime, kLongestFrame) : 0.0f;
    accumulator_ += taken;
    stepsThisFrame_ = 0;
}

int32_t FixedStepClock::MaximumSteps() const
{
    return static_cast<int32_t>(std::ceil(kLongestFrame * rate_));
}

bool FixedStepClock::StepDue() const
{
    return accumulator_ > 0.0f && stepsThisFrame_ < MaximumSteps();
}

void FixedStepClock::EndStep(float stepLength)
{
    accumulator_ -= stepLength;
    ++stepsThisFrame_;
    // Rounding left a crumb after the most a frame may run: it is dropped,
    // not carried into the next frame as an extra step.
    if (stepsThisFrame_ >= MaximumSteps()) {
        accumulator_ = std::min(accumulator_, 0.0f);
    }
}
