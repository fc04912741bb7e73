#include "app/StartupOptions.h"

#include <gtest/gtest.h>

TEST(StartupOptions, SwitchesToggleAndTheLastLogLevelCounts)
{
    struct Case {
        const wchar_t* line;
        bool fullScreen;
        bool movies;
        int32_t level;
        bool editor;
        bool testStart;
        bool testMode;
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"", true, true, 0, false, false, false},
             {L"-f", false, true, 0, false, false, false},
             {L"-F -F", true, true, 0, false, false, false},
             {L"-W2 -W0", true, true, 0, false, false, false},
             {L"-w3", true, true, 3, false, false, false},
             {L"-W4 -Wx", true, true, 0, false, false, false},
             {L"-M  -TEST", true, false, 0, false, true, true},
             {L"-TEST -test", true, true, 0, false, false, true},
             {L"-ME -F", false, true, 0, true, false, false},
             {L"-FM -F-M", true, true, 0, false, false, false}}) {
        const StartupOptions options = ParseCommandLine(c.line);
        const std::string line = WideStringToNarrow(c.line);
        EXPECT_EQ(options.fullScreen, c.fullScreen) << line;
        EXPECT_EQ(options.introMovies, c.movies) << line;
        EXPECT_EQ(options.logLevel, c.level) << line;
        EXPECT_EQ(options.editorAlone, c.editor) << line;
        EXPECT_EQ(options.testStart, c.testStart) << line;
        EXPECT_EQ(options.testMode, c.testMode) << line;
    }
}
