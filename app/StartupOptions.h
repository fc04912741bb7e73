#pragma once
// The command-line switches of the program. Tokens are split at every blank
// and upper-cased; "-F", "-M", "-ME" and "-TEST" toggle, so a repeated switch
// cancels itself, and the last of "-W0" to "-W3" sets the log level. Test
// mode stays on once any "-TEST" was seen.

#include "engine/files/WideString.h"

#include <cstdint>

struct StartupOptions {
    bool fullScreen = true;
    bool introMovies = true;
    int32_t logLevel = 0;
    bool editorAlone = false;
    bool testStart = false;
    bool testMode = false;
};

StartupOptions ParseCommandLine(const WideString& commandLine);
