#pragma once
// Benchmarks read their data from "bench-data" beside their program, which
// the build fills; they run from there, as the game runs from its folder.

#include "engine/files/WideString.h"

#include <windows.h>

inline void EnterBenchDataFolder()
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    WideString folder(module);
    folder.resize(folder.rfind(L'\\') + 1);
    SetCurrentDirectoryW((folder + L"bench-data").c_str());
}
