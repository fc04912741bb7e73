#pragma once
// The split count of the visibility settings for one test, put back after it.

#include "game/world/VisibilitySettings.h"

#include <cstdint>

class SplitCount {
public:
    explicit SplitCount(int32_t count) : kept_(TheVisibilitySettings().splitCount)
    {
        TheVisibilitySettings().splitCount = count;
    }
    ~SplitCount() { TheVisibilitySettings().splitCount = kept_; }

private:
    int32_t kept_;
};
