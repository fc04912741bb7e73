#include "game/world/FixedStepClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

// The steps one frame runs, each as long as the rate says when it starts.
int32_t RunFrame(FixedStepClock& clock, float frameTime)
{
    int32_t steps = 0;
    clock.BeginFrame(frameTime);
    while (clock.StepDue()) {
        clock.EndStep(clock.GetStepLength());
        ++steps;
    }
    return steps;
}

} // namespace

TEST(FixedStepClock, SteadyFramesCarryTheOvershootIntoTheNextFrame)
{
    FixedStepClock clock;
    std::vector<int32_t> steps;
    for (int32_t frame = 0; frame < 6; ++frame) {
        steps.push_back(RunFrame(clock, 0.02f));
        if (frame == 0) {
            EXPECT_NEAR(clock.GetAccumulator(), 0.02f - 2.0f / 75.0f, 1e-6f);
        }
    }
    EXPECT_EQ(steps, (std::vector<int32_t>{2, 1, 2, 1, 2, 1}));
}

TEST(FixedStepClock, ALongStallSimulatesOneSecondAtMost)
{
    struct Case {
        float rate;
        float before;   // the frame before the stall
        float stall;
        int32_t steps;
    };
    for (const Case& c : std::initializer_list<Case>{
             {75.0f, 0.0f, 5.0f, 75},
             {75.0f, 0.02f, 5.0f, 75},
             {75.0f, 0.0f, 1.0f, 75},
             {60.0f, 0.0f, 3600.0f, 60},
             {1.0f, 0.0f, 10.0f, 1},
             {1000.0f, 0.0f, 2.0f, 1000}}) {
        FixedStepClock clock;
        clock.SetRate(c.rate);
        RunFrame(clock, c.before);
        EXPECT_EQ(RunFrame(clock, c.stall), c.steps) << c.rate << " " << c.stall;
        EXPECT_LE(clock.GetAccumulator(), 0.0f);
        // Nothing of the stall is left over for the next frame.
        EXPECT_EQ(RunFrame(clock, 0.0f), 0);
    }
}

TEST(FixedStepClock, AFrameWithoutTimeRunsNoStep)
{
    FixedStepClock clock;
    EXPECT_EQ(RunFrame(clock, 0.0f), 0);
    RunFrame(clock, 0.02f);
    EXPECT_LT(clock.GetAccumulator(), 0.0f);
    EXPECT_EQ(RunFrame(clock, 0.0f), 0);
}

TEST(FixedStepClock, UnusableFrameTimesAddNothing)
{
    for (float frameTime : {-1.0f, -0.02f, std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()}) {
        FixedStepClock clock;
        EXPECT_EQ(RunFrame(clock, frameTime), 0) << frameTime;
        EXPECT_EQ(clock.GetAccumulator(), 0.0f) << frameTime;
        // The clock goes on as before.
        EXPECT_EQ(RunFrame(clock, 0.02f), 2) << frameTime;
    }
}

TEST(FixedStepClock, TheRateStaysWithinItsLimits)
{
    struct Case {
        float asked;
        float kept;
    };
    for (const Case& c : std::initializer_list<Case>{
             {120.0f, 120.0f},
             {1.0f, 1.0f},
             {0.5f, 1.0f},
             {0.0f, 1.0f},
             {-75.0f, 1.0f},
             {-std::numeric_limits<float>::infinity(), 1.0f},
             {std::numeric_limits<float>::quiet_NaN(), 75.0f},
             {std::numeric_limits<float>::infinity(), 1000.0f},
             {1e9f, 1000.0f}}) {
        FixedStepClock clock;
        clock.SetRate(c.asked);
        EXPECT_EQ(clock.GetRate(), c.kept) << c.asked;
        EXPECT_TRUE(std::isfinite(clock.GetStepLength())) << c.asked;
    }
}

TEST(FixedStepClock, ANewRateTakesEffectAtTheNextStep)
{
    FixedStepClock clock;
    clock.BeginFrame(0.1f);
    ASSERT_TRUE(clock.StepDue());
    const float first = clock.GetStepLength();
    clock.EndStep(first);
    clock.SetRate(20.0f);
    std::vector<float> lengths;
    while (clock.StepDue()) {
        lengths.push_back(clock.GetStepLength());
        clock.EndStep(lengths.back());
    }
    EXPECT_FLOAT_EQ(first, 1.0f / 75.0f);
    EXPECT_EQ(lengths, (std::vector<float>{0.05f, 0.05f}));
}
