#include "engine/core/FrameTimeRing.h"

#include <algorithm>
#include <iterator>

void FrameTimeRing::Clear()
{
    std::fill(std::begin(intervals_), std::end(intervals_), 0.0f);
    next_ = 0;
    sampleCount_ = 1;
}

void FrameTimeRing::Add(float seconds)
{
    intervals_[next_] = seconds;
    next_ = (next_ + 1) % kSlots;
}

float FrameTimeRing::Smoothed() const
{
    float sum = 0.0f;
    float weights = 0.0f;
    float weight = 1.0f;
    for (int32_t j = 0; j < sampleCount_; ++j) {
        sum += weight * intervals_[(next_ - 1 - j + 2 * kSlots) % kSlots];
        weights += weight;
        weight *= 0.5f;
    }
    return sum / weights;
}

void FrameTimeRing::SetSampleCount(int32_t count)
{
    sampleCount_ = std::clamp(count, 1, kSlots);
}
