#pragma once
// The system's one log. Any thread may print: a message is formatted once
// (an 8-bit printf format in which "%s" takes a wide string) and handed to
// every attached sink whose level admits it. Texts may carry the colour codes
// "^0" to "^7"; the sinks interpret them.

#include "engine/core/CriticalSection.h"
#include "engine/core/LogSink.h"

#include <cstdarg>
#include <memory>
#include <vector>

enum LogLevel : int32_t {
    kLogMessage = 0,
    kLogError = 1,
    kLogWarning = 2,
    kLogVerbose = 3,
};

class LogHub {
public:
    LogHub();
    virtual ~LogHub();
    LogHub(const LogHub&) = delete;
    LogHub& operator=(const LogHub&) = delete;

    // The hub every Part reports to; it exists before any sink is attached.
    static LogHub& Instance();

    void RecomputeLevel();
    // The hub owns its sinks until they are removed; a new sink takes the
    // hub's current level.
    void AddSink(std::unique_ptr<LogSink> sink);
    // Detaches the sink and hands it back; nullptr when it was not attached.
    std::unique_ptr<LogSink> RemoveSink(LogSink* sink);
    void SetLevel(int32_t level);
    int32_t GetLevel() const { return level_; }

    // Held while sinks write; readers of a sink's lines take it too.
    CriticalSection& GetLock() { return lock_; }

    void PrintV(int32_t level, const char* format, va_list args);
    void Write(int32_t level, const WideString& text);

    // Entry points on the global hub.
    static void Printf(const char* format, ...);        // level 0
    static void PrintError(const char* format, ...);    // level 1
    static void PrintWarning(const char* format, ...);  // level 2, formatted only above level 0
    static void PrintVerbose(const char* format, ...);  // level 3, formatted only from level 2 on

private:
    int32_t level_ = 0;
    CriticalSection lock_;
    std::vector<std::unique_ptr<LogSink>> sinks_;
};
