#include "engine/core/CriticalSection.h"

#include <windows.h>

CriticalSection::CriticalSection()
    : section_(new CRITICAL_SECTION)
{
    InitializeCriticalSection(section_);
}

CriticalSection::~CriticalSection()
{
    DeleteCriticalSection(section_);
    delete section_;
}

void CriticalSection::Enter()
{
    EnterCriticalSection(section_);
}

void CriticalSection::Leave()
{
    LeaveCriticalSection(section_);
}
