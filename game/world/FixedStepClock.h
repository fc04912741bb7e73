#pragma once
// Turns frame times into whole simulation steps of 1 / rate seconds. Each
// frame adds its time (at most one second of it) to an accumulator, and steps
// run while the accumulator is above 0; the overshoot is carried into the
// next frame as a negative remainder, so frames of 0.02 s at 75 steps per
// second run two steps and one in turn.

#include <cstdint>

class FixedStepClock {
public:
    static constexpr float kDefaultRate = 75.0f;
    // Fewer steps would make a step longer than the longest frame the clock
    // takes; more would leave no time to draw.
    static constexpr float kMinimumRate = 1.0f;
    static constexpr float kMaximumRate = 1000.0f;
    // A longer frame (a stall, a breakpoint, a loading hitch) simulates only this much.
    static constexpr float kLongestFrame = 1.0f;

    // Kept within the rate limits; a NaN gives the default. Takes effect at the next step.
    void SetRate(float stepsPerSecond);
    float GetRate() const { return rate_; }
    float GetStepLength() const { return 1.0f / rate_; }

    // Adds the frame's time; a negative or non-finite time counts as 0.
    void BeginFrame(float frameTime);
    // Whether another step runs in this frame; at most kLongestFrame x rate
    // steps run per frame, whatever the rounding of the step lengths.
    bool StepDue() const;
    // The step of the given length has run.
    void EndStep(float stepLength);

    float GetAccumulator() const { return accumulator_; }
    int32_t GetStepsThisFrame() const { return stepsThisFrame_; }

private:
    int32_t MaximumSteps() const;

    float rate_ = kDefaultRate;
    float accumulator_ = 0.0f;   // seconds still to simulate; negative when ahead
    int32_t stepsThisFrame_ = 0;
};
