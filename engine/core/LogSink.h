#pragma once
// A destination of the LogHub (the graphical console, the RTF log file). A
// sink at level L writes every message of level L or below.

#include "engine/files/WideString.h"

#include <cstdint>

class LogHub;

class LogSink {
public:
    virtual ~LogSink() = default;

    // Stores the level and, when attached, makes the hub recompute its own.
    virtual void SetLevel(int32_t level);
    virtual int32_t GetLevel() const { return level_; }
    virtual void Write(const WideString& text) = 0;

    LogHub* GetHub() const { return hub_; }

private:
    friend class LogHub;

    int32_t level_ = 0;
    LogHub* hub_ = nullptr;
};
