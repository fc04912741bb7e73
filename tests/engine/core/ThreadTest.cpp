#include "engine/core/Thread.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cmath>

TEST(Thread, PrioritiesMapOntoWin32Levels)
{
    struct Case {
        float priority;
        int32_t level;
    };
    for (const Case& c : std::initializer_list<Case>{
             {0.0f, -15}, {0.2f, -1}, {0.5f, 0}, {0.8f, 1}, {1.0f, 15}, {0.995f, 0}, {1.5f, 0}, {-1.0f, -1},
             {std::nanf(""), 0}}) {
        EXPECT_EQ(PriorityToWin32(c.priority), c.level) << c.priority;
    }
}

namespace {

struct Counter {
    std::atomic<int32_t> runs{0};
    Event started{true};
};

int32_t CountRun(ThreadHandle& self, void* parameter)
{
    auto* counter = static_cast<Counter*>(parameter);
    EXPECT_EQ(self.id, GetCurrentThreadId());
    ++counter->runs;
    counter->started.Set();
    return 7;
}

int32_t StartAnother(ThreadHandle&, void* parameter)
{
    Thread inner;
    inner.Start(CountRun, parameter, 0.5f);
    inner.Join();
    return 0;
}

} // namespace

TEST(Thread, EachStartRunsItsOwnRoutine)
{
    Counter counter;
    Thread first;
    Thread second;
    first.Start(StartAnother, &counter, 0.8f);
    second.Start(CountRun, &counter, 0.2f);
    first.Join();
    second.Join();
    EXPECT_EQ(counter.runs, 2);
    EXPECT_TRUE(first.IsStarted());
    first.Close();
    EXPECT_FALSE(first.IsStarted());
}

TEST(Event, AutoResetReleasesOneWaitPerSet)
{
    Event autoReset(true);
    autoReset.Set();
    EXPECT_TRUE(autoReset.WaitFor(0));
    EXPECT_FALSE(autoReset.WaitFor(0));

    Event manual(false);
    manual.Set();
    EXPECT_TRUE(manual.WaitFor(0));
    EXPECT_TRUE(manual.WaitFor(0));
    manual.Reset();
    EXPECT_FALSE(manual.WaitFor(0));
}

TEST(SleepSeconds, LastsWholeMillisecondsAndNeverForEver)
{
    struct Case {
        float seconds;
        uint32_t milliseconds;
    };
    for (const Case& c : std::initializer_list<Case>{{0.0009f, 0},
                                                     {0.0019f, 1},   // one whole millisecond, not none
                                                     {0.05f, 50},
                                                     {0.0f, 0},
                                                     {-3.0f, 0},
                                                     {std::nanf(""), 0},
                                                     {1e10f, INFINITE - 1}}) {
        EXPECT_EQ(SleepMilliseconds(c.seconds), c.milliseconds) << c.seconds;
    }
}
