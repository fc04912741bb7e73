#pragma once
// The answer of a loading stage that reads its records in batches: a call
// that read a whole batch is not done yet (the next call finds the end),
// one that read less is.

#include <cstdint>

// Records a loading stage reads in one call at most, so each step stays short.
constexpr int32_t kRecordsPerCall = 1000;

inline float BatchProgress(int32_t readThisCall, int32_t batchSize, int32_t counter, int32_t count)
{
    if (readThisCall == batchSize) {
        return 0.9f * static_cast<float>(counter) / static_cast<float>(count);
    }
    return 1.0f;
}
