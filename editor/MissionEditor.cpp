#include "editor/MissionEditor.h"

#include <cstdio>

int RunMissionEditorAlone(const StartupArguments&)
{
    std::fputs("Varnholt: the mission editor is not built yet.\n", stderr);
    return 1;
}
