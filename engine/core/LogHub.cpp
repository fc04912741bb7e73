#include "engine/core/LogHub.h"

#include <algorithm>

void LogSink::SetLevel(int32_t level)
{
    level_ = level;
    if (hub_) {
        hub_->RecomputeLevel();
    }
}

LogHub::LogHub()
{
    RecomputeLevel();
}

LogHub::~LogHub() = default;

// Never destroyed: destructors of other statics may still report at exit.
LogHub& LogHub::Instance()
{
    static LogHub* const hub = new LogHub;
    return *hub;
}

void LogHub::RecomputeLevel()
{
    CriticalSectionLock lock(lock_);
    int32_t highest = 0;
    for (const auto& sink : sinks_) {
        highest = std::max(highest, sink->GetLevel());
    }
    level_ = highest;
}

void LogHub::AddSink(std::unique_ptr<LogSink> sink)
{
    CriticalSectionLock lock(lock_);
    LogSink* added = sink.get();
    sinks_.push_back(std::move(sink));
    added->hub_ = this;
    added->SetLevel(level_);
}

std::unique_ptr<LogSink> LogHub::RemoveSink(LogSink* sink)
{
    CriticalSectionLock lock(lock_);
    auto found = std::find_if(sinks_.begin(), sinks_.end(), [sink](const auto& s) { return s.get() == sink; });
    if (found == sinks_.end()) {
        return nullptr;
    }
    std::unique_ptr<LogSink> removed = std::move(*found);
    sinks_.erase(found);
    removed->hub_ = nullptr;
    return removed;
}

void LogHub::SetLevel(int32_t level)
{
    CriticalSectionLock lock(lock_);
    level_ = level;
    for (const auto& sink : sinks_) {
        sink->SetLevel(level);
    }
}

void LogHub::PrintV(int32_t level, const char* format, va_list args)
{
    WideString text;
    FormatWideStringNarrowV(text, format, args);
    Write(level, text);
}

void LogHub::Write(int32_t level, const WideString& text)
{
    CriticalSectionLock lock(lock_);
    for (const auto& sink : sinks_) {
        if (sink->GetLevel() >= level) {
            sink->Write(text);
        }
    }
}

namespace {

void PrintIfAdmitted(int32_t level, int32_t lowestHubLevel, const char* format, va_list args)
{
    LogHub& hub = LogHub::Instance();
    if (hub.GetLevel() >= lowestHubLevel) {
        hub.PrintV(level, format, args);
    }
}

} // namespace

void LogHub::Printf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    PrintIfAdmitted(kLogMessage, 0, format, args);
    va_end(args);
}

void LogHub::PrintError(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    PrintIfAdmitted(kLogError, 0, format, args);
    va_end(args);
}

void LogHub::PrintWarning(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    PrintIfAdmitted(kLogWarning, 1, format, args);
    va_end(args);
}

void LogHub::PrintVerbose(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    PrintIfAdmitted(kLogVerbose, 2, format, args);
    va_end(args);
}
