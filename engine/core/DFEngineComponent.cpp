#include "engine/core/DFEngineComponent.h"

#include "engine/core/LogHub.h"

#include <windows.h>

DFEngine* CreateDFEngineComponent()
{
    HMODULE module = LoadLibraryW(L"DFEngine.dll");
    if (!module) {
        LogHub::PrintVerbose("dcEngine: DFEngine.dll is missing");
        return nullptr;
    }
    auto create = reinterpret_cast<CreateDFEngineFunction>(reinterpret_cast<void*>(GetProcAddress(module, "CreateDFEngine")));
    if (!create) {
        LogHub::PrintError("dcEngine: DFEngine.dll has no CreateDFEngine");
        return nullptr;
    }
    return create();
}
