#include "engine/core/Thread.h"

#include "engine/core/CriticalSection.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace {

constexpr int32_t kNoRoutineExitCode = 0xDEAD;

// Serialises thread starts: the starter waits until the new thread has taken
// its routine out of the pending slot.
CriticalSection& ThreadStartLock()
{
    static CriticalSection lock;
    return lock;
}

std::atomic<ThreadRoutine> pendingRoutine{nullptr};

DWORD WINAPI ThreadEntry(void* parameter)
{
    ThreadRoutine routine = pendingRoutine.exchange(nullptr);
    if (!routine) {
        return kNoRoutineExitCode;
    }
    ThreadHandle self = CurrentThreadHandle();
    return static_cast<DWORD>(routine(self, parameter));
}

} // namespace

Thread::~Thread()
{
    Close();
}

void Thread::Start(ThreadRoutine routine, void* parameter, float priority)
{
    Close();
    record_ = new ThreadHandle;
    {
        CriticalSectionLock lock(ThreadStartLock());
        pendingRoutine = routine;
        DWORD id = 0;
        record_->handle = CreateThread(nullptr, 0, ThreadEntry, parameter, 0, &id);
        record_->id = id;
        if (!record_->handle) {
            pendingRoutine = nullptr;
        }
        while (pendingRoutine.load() != nullptr) {
            Sleep(0);
        }
    }
    if (record_->handle) {
        SetThreadPriority(record_->handle, PriorityToWin32(priority));
    }
}

void Thread::Join()
{
    if (record_ && record_->handle) {
        WaitForSingleObject(record_->handle, INFINITE);
    }
}

void Thread::Close()
{
    if (!record_) {
        return;
    }
    if (record_->handle) {
        CloseHandle(record_->handle);
    }
    delete record_;
    record_ = nullptr;
}

ThreadHandle CurrentThreadHandle()
{
    ThreadHandle self;
    self.handle = GetCurrentThread();
    self.id = GetCurrentThreadId();
    return self;
}

int32_t PriorityToWin32(float priority)
{
    if (priority == 0.0f) {
        return THREAD_PRIORITY_IDLE;
    }
    if (priority <= 0.33f) {
        return THREAD_PRIORITY_BELOW_NORMAL;
    }
    if (priority <= 0.66f) {
        return THREAD_PRIORITY_NORMAL;
    }
    if (priority <= 0.99f) {
        return THREAD_PRIORITY_ABOVE_NORMAL;
    }
    if (priority == 1.0f) {
        return THREAD_PRIORITY_TIME_CRITICAL;
    }
    return THREAD_PRIORITY_NORMAL;
}

void SleepSeconds(float seconds)
{
    Sleep(SleepMilliseconds(seconds));
}

uint32_t SleepMilliseconds(float seconds)
{
    if (!(seconds > 0.0f)) {
        return 0;
    }
    constexpr double kLongest = INFINITE - 1;
    return static_cast<uint32_t>(std::min(static_cast<double>(seconds) * 1000.0, kLongest));
}

Event::Event(bool autoReset)
    : handle_(CreateEventW(nullptr, autoReset ? FALSE : TRUE, FALSE, nullptr))
{
}

Event::~Event()
{
    CloseHandle(handle_);
}

void Event::Wait()
{
    WaitForSingleObject(handle_, INFINITE);
}

bool Event::WaitFor(uint32_t milliseconds)
{
    return WaitForSingleObject(handle_, milliseconds) == WAIT_OBJECT_0;
}

void Event::Set()
{
    SetEvent(handle_);
}

void Event::Reset()
{
    ResetEvent(handle_);
}
