// The program's entry function.

#include "engine/core/LogHub.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, PWSTR commandLine, int showCommand)
{
    LogHub::Printf("Shutting down...");
    return 0;
}
