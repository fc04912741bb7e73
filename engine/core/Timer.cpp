#include "engine/core/Timer.h"

#include <windows.h>
#include <mmsystem.h>

#include <cmath>

namespace {

constexpr double kCounterTolerance = 0.05;   // seconds

} // namespace

uint32_t TimeSource::Milliseconds()
{
    return timeGetTime();
}

bool TimeSource::CounterFrequency(double& frequency)
{
    LARGE_INTEGER value;
    if (!QueryPerformanceFrequency(&value)) {
        return false;
    }
    frequency = static_cast<double>(value.QuadPart);
    return true;
}

int64_t TimeSource::Counter()
{
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    return value.QuadPart;
}

TimeSource& Timer::SystemTime()
{
    static TimeSource system;
    return system;
}

Timer::Timer(TimeSource& source)
{
    SetSource(source);
}

void Timer::SetSource(TimeSource& source)
{
    source_ = &source;
    double frequency = 0.0;
    frequency_ = source_->CounterFrequency(frequency) ? frequency : 0.0;
}

void Timer::Reset()
{
    lastMilliseconds_ = source_->Milliseconds();
    if (frequency_ > 0.0) {
        lastCount_ = source_->Counter();
    }
}

float Timer::Elapsed()
{
    const uint32_t now = source_->Milliseconds();
    // Unsigned difference: the millisecond counter's wrap is harmless.
    const double millisecondTime = static_cast<uint32_t>(now - lastMilliseconds_) * 0.001;
    lastMilliseconds_ = now;
    if (frequency_ <= 0.0) {
        return static_cast<float>(millisecondTime);
    }
    const int64_t count = source_->Counter();
    const double counterTime = static_cast<double>(count - lastCount_) / frequency_;
    lastCount_ = count;
    return static_cast<float>(std::fabs(counterTime - millisecondTime) <= kCounterTolerance ? counterTime
                                                                                            : millisecondTime);
}
