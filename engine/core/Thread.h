#pragma once
// The engine's only way to start a thread, with an abstract priority from 0
// (idle) to 1 (time critical). The new thread is handed a record describing
// itself.

#include <cstdint>

struct ThreadHandle {
    virtual ~ThreadHandle() = default;
    void* handle = nullptr;   // Win32 thread handle
    uint32_t id = 0;
};

using ThreadRoutine = int32_t (*)(ThreadHandle& self, void* parameter);

class Thread {
public:
    Thread() = default;
    ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    void Start(ThreadRoutine routine, void* parameter, float priority);
    // Waits for the routine to return; its owner first tells it to stop.
    void Join();
    // Releases the handle without waiting.
    void Close();
    bool IsStarted() const { return record_ != nullptr; }

private:
    ThreadHandle* record_ = nullptr;
};

// The calling thread's own record (a pseudo-handle).
ThreadHandle CurrentThreadHandle();

int32_t PriorityToWin32(float priority);

// Sleeps for SleepMilliseconds(seconds).
void SleepSeconds(float seconds);
// The whole milliseconds a sleep of so many seconds lasts: truncated, none
// for a number that is not above zero, and never the system's "for ever".
uint32_t SleepMilliseconds(float seconds);

// A Win32 event: auto reset releases one waiter per Set, manual reset stays
// signalled until Reset.
class Event {
public:
    explicit Event(bool autoReset);
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Wait();
    // Whether it was signalled within the time.
    bool WaitFor(uint32_t milliseconds);
    void Set();
    void Reset();

private:
    void* handle_;
};
