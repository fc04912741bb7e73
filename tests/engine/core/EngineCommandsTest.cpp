#include "engine/audio/AudioDevice.h"
#include "engine/core/dcEngine.h"
#include "engine/gui/dcGUIConsole.h"
#include "engine/input/InputSystem.h"
#include "engine/video/VideoDevice.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/CountingCommand.h"
#include "tests/engine/core/EngineForTest.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

namespace {

// An engine started without devices, its console lines run by hand.
class EngineCommandsTest : public testing::Test {
protected:
    EngineCommandsTest()
    {
        engine.Init(kLogMessage);
        engine.Start(nullptr, nullptr, nullptr, L"English");
    }
    ~EngineCommandsTest() override
    {
        engine.Shutdown();
        LogHub::Instance().SetLevel(kLogMessage);
    }

    void Run(const wchar_t* line)
    {
        engine.GetConsole()->QueueCommand(line);
        engine.RunQueuedCommands();
    }

    ScratchFolder scratch;
    EngineForTest lent;
    dcEngine& engine = lent.engine;
};

} // namespace

TEST_F(EngineCommandsTest, FlagCommandsToggleOrSet)
{
    struct Case {
        const wchar_t* line;
        bool on;
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"FPS", true}, {L"FPS", false}, {L"FPS 1", true}, {L"FPS 1", true}, {L"FPS   0", false},
             {L"FPS ", true}, {L"FPS X", false}}) {
        Run(c.line);
        EXPECT_EQ(engine.HasEngineFlag(dcEngine::kShowFrameRate), c.on) << WideStringToNarrow(c.line);
    }
}

TEST_F(EngineCommandsTest, NumbersAreReadFromTheArgument)
{
    struct Case {
        const wchar_t* line;
        float timeScale;
    };
    for (const Case& c : std::initializer_list<Case>{{L"T 2.5", 2.5f}, {L"T 0", 0.01f}, {L"T", 0.01f}, {L"T ABC", 0.01f}}) {
        Run(c.line);
        EXPECT_FLOAT_EQ(engine.GetTimeScale(), c.timeScale) << WideStringToNarrow(c.line);
    }
    Run(L"SLEEPTIME -1");
    EXPECT_FLOAT_EQ(engine.GetSleepTime(), -1.0f);
    Run(L"SETWARNINGLEVEL");
    EXPECT_EQ(LogHub::Instance().GetLevel(), kLogVerbose);
    Run(L"SETWARNINGLEVEL 1");
    EXPECT_EQ(LogHub::Instance().GetLevel(), kLogError);
    Run(L"EXIT NOW");
    EXPECT_FALSE(engine.IsRunning());
}

TEST_F(EngineCommandsTest, ModulesAreOfferedTheLineBeforeTheEngine)
{
    MLP stacked;
    MLP current;
    CountingCommand stackedFps("FPS");
    CountingCommand currentFps("FPS");
    stacked.AddCommand(&stackedFps);
    current.AddCommand(&currentFps);
    engine.SetMLP(&stacked, false);
    engine.PushMLP(&current, false);

    Run(L"FPS 1 2");
    EXPECT_EQ(stackedFps.received, std::vector<WideString>{L"1 2"});
    EXPECT_EQ(currentFps.received, std::vector<WideString>{L"1 2"});
    EXPECT_FALSE(engine.HasEngineFlag(dcEngine::kShowFrameRate));

    Run(L"POLY");
    EXPECT_TRUE(engine.HasEngineFlag(dcEngine::kShowPrimitives));
}

TEST_F(EngineCommandsTest, UnknownNamesAreToldOnTheConsole)
{
    Run(L"NOSUCHCOMMAND 1");
    EXPECT_EQ(engine.GetConsole()->GetLines().front(), L"Command not recognized");
    Run(L"PRINTMLPSTACK");
    EXPECT_EQ(engine.GetConsole()->GetLines().front(), L"0. null");
}
