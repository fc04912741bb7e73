#include "app/StartupOptions.h"

namespace {

void ApplySwitch(const WideString& token, StartupOptions& options)
{
    if (token == L"-F") {
        options.fullScreen = !options.fullScreen;
    } else if (token == L"-M") {
        options.introMovies = !options.introMovies;
    } else if (token.size() == 3 && token.compare(0, 2, L"-W") == 0 && token[2] >= L'0' && token[2] <= L'3') {
        options.logLevel = token[2] - L'0';
    } else if (token == L"-ME") {
        options.editorAlone = !options.editorAlone;
    } else if (token == L"-TEST") {
        options.testMode = true;
        options.testStart = !options.testStart;
    }
}

} // namespace

StartupOptions ParseCommandLine(const WideString& commandLine)
{
    StartupOptions options;
    size_t start = 0;
    for (;;) {
        const size_t blank = commandLine.find(L' ', start);
        WideString token = commandLine.substr(start, blank == WideString::npos ? WideString::npos : blank - start);
        WideStringToUpper(token);
        ApplySwitch(token, options);
        if (blank == WideString::npos) {
            return options;
        }
        start = blank + 1;
    }
}
