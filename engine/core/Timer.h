#pragma once
// The frame timer: the performance counter, checked against the millisecond
// timer; when the two disagree by more than 0.05 s in one reading (a counter
// that jumps), the millisecond value is taken.

#include <cstdint>

// Where the timer reads the time; the system's clocks unless a test gives its own.
class TimeSource {
public:
    virtual ~TimeSource() = default;
    virtual uint32_t Milliseconds();
    // False when the machine has no performance counter.
    virtual bool CounterFrequency(double& frequency);
    virtual int64_t Counter();
};

class Timer {
public:
    explicit Timer(TimeSource& source = SystemTime());

    // Reads this source from now on; Reset comes next.
    void SetSource(TimeSource& source);
    void Reset();
    // Seconds since the last Reset or Elapsed.
    float Elapsed();

    static TimeSource& SystemTime();

private:
    TimeSource* source_;
    uint32_t lastMilliseconds_ = 0;
    int64_t lastCount_ = 0;
    double frequency_ = 0.0;   // 0 without a performance counter
};
