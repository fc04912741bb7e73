#pragma once
// The last ten frame intervals, smoothed over the newest N with weights 1,
// 1/2, 1/4, ... so one slow frame does not jolt everything that moves.

#include <cstdint>

class FrameTimeRing {
public:
    static constexpr int32_t kSlots = 10;

    void Clear();
    void Add(float seconds);
    // The weighted mean of the newest sample-count intervals.
    float Smoothed() const;

    void SetSampleCount(int32_t count);
    int32_t GetSampleCount() const { return sampleCount_; }

private:
    float intervals_[kSlots] = {};
    int32_t next_ = 0;
    int32_t sampleCount_ = 1;
};
