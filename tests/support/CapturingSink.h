#pragma once
// A log sink that keeps what it is given, attached to the global hub for the
// lifetime of a test.

#include "engine/core/LogHub.h"

#include <algorithm>
#include <string>
#include <vector>

class CapturingSink : public LogSink {
public:
    void Write(const WideString& text) override { lines.push_back(text); }

    bool Contains(const WideString& part) const { return Count(part) > 0; }

    // How many lines hold the text.
    int32_t Count(const WideString& part) const
    {
        return static_cast<int32_t>(std::count_if(lines.begin(), lines.end(), [&part](const WideString& line) {
            return line.find(part) != WideString::npos;
        }));
    }

    std::vector<WideString> lines;
};

// Attaches a CapturingSink at the given level and detaches it again.
class ScopedCapture {
public:
    explicit ScopedCapture(int32_t level = kLogVerbose)
    {
        auto sink = std::make_unique<CapturingSink>();
        sink_ = sink.get();
        LogHub::Instance().AddSink(std::move(sink));
        sink_->SetLevel(level);
    }
    ~ScopedCapture()
    {
        LogHub::Instance().RemoveSink(sink_);
        LogHub::Instance().RecomputeLevel();
    }
    ScopedCapture(const ScopedCapture&) = delete;
    ScopedCapture& operator=(const ScopedCapture&) = delete;

    CapturingSink& operator*() { return *sink_; }
    CapturingSink* operator->() { return sink_; }

private:
    CapturingSink* sink_;
};
