#pragma once
// A lock over a platform critical section. The thread that holds it may enter
// it again.

struct _RTL_CRITICAL_SECTION;

class CriticalSection {
public:
    CriticalSection();
    ~CriticalSection();
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter();
    void Leave();

private:
    _RTL_CRITICAL_SECTION* section_;
};

// Holds a CriticalSection for the lifetime of a scope.
class CriticalSectionLock {
public:
    explicit CriticalSectionLock(CriticalSection& lock) : lock_(lock) { lock_.Enter(); }
    ~CriticalSectionLock() { lock_.Leave(); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
    CriticalSection& lock_;
};
