#pragma once
// The mission editor run alone ("-ME"): its exit code is the program's.

#include "engine/core/ProgramState.h"

int RunMissionEditorAlone(const StartupArguments& arguments);
