#include "engine/core/FrameTimeRing.h"
#include "engine/core/Timer.h"
#include "tests/engine/core/ScriptedClock.h"

#include <gtest/gtest.h>

namespace {

// Timers must survive the millisecond timer wrapping round.
constexpr uint32_t kCloseToTheWrap = 0xFFFFFF00u;

} // namespace

TEST(Timer, PrefersTheCounterUnlessItJumps)
{
    struct Case {
        uint32_t ms;
        int64_t us;
        float elapsed;
    };
    ScriptedClock clock;
    clock.milliseconds = kCloseToTheWrap;
    Timer timer(clock);
    timer.Reset();
    for (const Case& c : std::initializer_list<Case>{
             {16, 16667, 0.016667f},     // the counter's finer value
             {300, 300000, 0.3f},        // across the millisecond wrap
             {20, 90000, 0.02f},         // the counter jumped: milliseconds win
             {20, 60000, 0.06f}}) {      // within 0.05 s: the counter again
        clock.Advance(c.ms, c.us);
        EXPECT_NEAR(timer.Elapsed(), c.elapsed, 1e-6f) << c.ms;
    }
}

TEST(Timer, FallsBackToMillisecondsWithoutACounter)
{
    ScriptedClock clock;
    clock.milliseconds = kCloseToTheWrap;
    clock.hasCounter = false;
    Timer timer(clock);
    timer.Reset();
    clock.Advance(40, 999999);
    EXPECT_NEAR(timer.Elapsed(), 0.04f, 1e-6f);
}

TEST(FrameTimeRing, WeighsTheNewestIntervalsMost)
{
    FrameTimeRing ring;
    ring.Add(0.02f);
    ring.Add(0.05f);
    EXPECT_FLOAT_EQ(ring.Smoothed(), 0.05f);   // one sample: the last interval
    ring.SetSampleCount(2);
    EXPECT_FLOAT_EQ(ring.Smoothed(), 0.04f);   // (0.05 + 0.5 x 0.02) / 1.5

    for (int i = 0; i < 25; ++i) {
        ring.Add(0.01f);   // wraps the ring
    }
    ring.SetSampleCount(50);
    EXPECT_EQ(ring.GetSampleCount(), FrameTimeRing::kSlots);
    EXPECT_FLOAT_EQ(ring.Smoothed(), 0.01f);
}
