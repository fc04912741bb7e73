#pragma once
// A clock a test moves by hand: the millisecond timer and, when it has one,
// a performance counter ticking in microseconds.

#include "engine/core/Timer.h"

#include <cstdint>

class ScriptedClock : public TimeSource {
public:
    uint32_t Milliseconds() override { return milliseconds; }
    bool CounterFrequency(double& frequency) override
    {
        frequency = 1000000.0;
        return hasCounter;
    }
    int64_t Counter() override { return microseconds; }

    // Both clocks move together.
    void Advance(uint32_t ms) { Advance(ms, int64_t{ms} * 1000); }
    // The counter moves on its own, as a jumping counter does.
    void Advance(uint32_t ms, int64_t counterUs)
    {
        milliseconds += ms;
        microseconds += counterUs;
    }

    uint32_t milliseconds = 5000;
    int64_t microseconds = 0;
    bool hasCounter = true;
};
