// Players type anything into the console. Every command the engine registers
// is run with hostile argument texts, typed as a player types them and queued
// as they stand (as other code queues lines): each command must return, the
// engine must run its next frame, and its settings must stay within their
// limits.

#include "engine/audio/AudioDevice.h"
#include "engine/core/CommandLineSplit.h"
#include "engine/core/ConsoleCommand.h"
#include "engine/core/EngineCommands.h"
#include "engine/core/LogHub.h"
#include "engine/core/dcEngine.h"
#include "engine/gui/dcGUIConsole.h"
#include "engine/input/InputCodes.h"
#include "engine/input/InputSystem.h"
#include "engine/video/VideoDevice.h"
#include "tests/engine/core/HostileArguments.h"
#include "tests/engine/core/EngineForTest.h"
#include "tests/engine/core/ScriptedClock.h"
#include "tests/engine/input/ScriptedInputDevices.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cwctype>
#include <string>

namespace {

WideString Lower(const WideString& text)
{
    WideString lower = text;
    for (wchar_t& c : lower) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return lower;
}

// The engine without video or audio, on a scripted clock and scripted input,
// with an idle module and the console open. Frames are 20 s apart, so that
// even at the smallest time scale none counts as a fast frame that sleeps.
class ConsoleInputTest : public testing::Test {
protected:
    static constexpr uint32_t kFrameMilliseconds = 20000;

    ConsoleInputTest()
    {
        engine.Init(kLogMessage);
        auto devices = std::make_unique<ScriptedInputDevices>();
        scripted = devices.get();
        engine.Start(nullptr, nullptr, std::make_unique<InputSystem>(std::move(devices), &engine.GetLanguage()),
                     L"English");
        engine.SetMLP(&idle, true);
        engine.GetConsole()->Enter();
        engine.GetTimer().Reset();
    }
    ~ConsoleInputTest() override
    {
        engine.GetConsole()->Leave();
        engine.Shutdown();
        LogHub::Instance().SetLevel(kLogMessage);
    }

    void Frame(std::vector<ButtonEvent> keys = {})
    {
        scripted->keyEvents = std::move(keys);
        clock.Advance(kFrameMilliseconds);
        engine.RunFrame();
    }
    // Typed character by character and entered: the line runs at the end of
    // the frame that takes the Enter key; then the next frame.
    void Typed(const WideString& line)
    {
        for (wchar_t c : line) {
            engine.GetInputSystem()->OnChar(c);
        }
        Frame({{kKeyEnter, true}});
        Frame({{kKeyEnter, false}});
    }
    void Queued(const WideString& line)
    {
        engine.GetConsole()->QueueCommand(line);
        Frame();
        Frame();
    }

    // After any line: the frames ran, the queue is empty and every setting
    // lies within its limits. EXIT may stop the engine; it runs on for the
    // next case.
    void ExpectSane(const WideString& command, int32_t framesBefore, const std::string& what)
    {
        EXPECT_EQ(engine.GetFrameCounter(), framesBefore + 2) << what;
        WideString left;
        EXPECT_FALSE(engine.GetConsole()->TakeCommand(left)) << what;
        EXPECT_TRUE(engine.GetConsole()->GetInputLine().text.empty()) << what;
        const float scale = engine.GetTimeScale();
        EXPECT_TRUE(scale >= dcEngine::kMinimumTimeScale && scale <= dcEngine::kMaximumTimeScale) << what << ": " << scale;
        EXPECT_TRUE(std::isfinite(engine.GetFrameTime()) && engine.GetFrameTime() >= 0.0f) << what;
        const float sleep = engine.GetSleepTime();
        EXPECT_TRUE(sleep <= dcEngine::kLongestSleep) << what << ": " << sleep;   // false for a NaN too
        const int32_t level = LogHub::Instance().GetLevel();
        EXPECT_TRUE(level >= kLogMessage && level <= kLogVerbose) << what << ": " << level;
        const int32_t known = dcEngine::kRunning | dcEngine::kStacking | dcEngine::kStatisticsLines;
        int32_t flags = 0;
        for (int32_t bit = 1; bit != 0; bit <<= 1) {
            flags |= engine.HasEngineFlag(bit) ? bit : 0;
        }
        EXPECT_EQ(flags & ~known, 0) << what;
        if (command == L"EXIT") {
            EXPECT_FALSE(engine.IsRunning()) << what;
            engine.SetEngineFlag(dcEngine::kRunning, true);
        } else {
            EXPECT_TRUE(engine.IsRunning()) << what;
        }
    }
    // Long sleeps would only slow the cases that follow.
    void ResetSettings()
    {
        engine.SetSleepTime(dcEngine::kNoSleep);
        engine.SetTimeScale(1.0f);
        LogHub::Instance().SetLevel(kLogMessage);
    }

    ScratchFolder scratch;
    ScriptedClock clock;
    EngineForTest lent{clock};
    dcEngine& engine = lent.engine;
    ScriptedInputDevices* scripted;
    MLP idle;
};

} // namespace

TEST_F(ConsoleInputTest, EveryCommandTakesAnyArgument)
{
    std::vector<WideString> names;
    for (const auto& command : MakeEngineCommands(engine)) {
        names.push_back(command->GetName());
    }
    ASSERT_FALSE(names.empty());
    for (const WideString& name : names) {
        ASSERT_TRUE(engine.HasCommand(name)) << WideStringToNarrow(name);
        // A player's spelling: lower case, or only the first letter upper.
        const WideString lower = Lower(name);
        const WideString capitalised = name.substr(0, 1) + lower.substr(1);
        int32_t index = 0;
        for (const HostileArgument& argument : HostileArguments()) {
            const std::string what = WideStringToNarrow(name) + " with " + argument.name;
            const WideString& spelling = index++ % 2 == 0 ? lower : capitalised;

            int32_t frames = engine.GetFrameCounter();
            Typed(L"  " + spelling + L" " + argument.text + L"  ");
            ExpectSane(name, frames, what + ", typed");
            ResetSettings();

            frames = engine.GetFrameCounter();
            Queued(name + L" " + argument.text);
            ExpectSane(name, frames, what + ", queued");
            ResetSettings();
        }
    }
}

TEST_F(ConsoleInputTest, NumbersOutsideTheirLimitsAreClampedAndTold)
{
    struct Case {
        const wchar_t* typed;
        float (*value)(dcEngine&);
        float expected;
        bool told;
    };
    const auto timeScale = [](dcEngine& e) { return e.GetTimeScale(); };
    const auto sleepTime = [](dcEngine& e) { return e.GetSleepTime(); };
    const auto level = [](dcEngine&) { return static_cast<float>(LogHub::Instance().GetLevel()); };
    for (const Case& c : std::initializer_list<Case>{
             {L"t 2.5", timeScale, 2.5f, false},
             {L"t 100", timeScale, 100.0f, false},
             {L"t 99999999999", timeScale, 100.0f, true},
             {L"t 1e39", timeScale, 100.0f, true},
             {L"t -1", timeScale, 0.01f, true},
             {L"t nan", timeScale, 0.01f, true},
             {L"t abc", timeScale, 0.01f, true},
             {L"sleeptime 0.5", sleepTime, 0.5f, false},
             {L"sleeptime -2147483649", sleepTime, -2147483649.0f, false},
             {L"sleeptime 99999999999", sleepTime, 1.0f, true},
             {L"sleeptime nan", sleepTime, 0.0f, true},
             {L"sleeptime %s%s%n", sleepTime, 0.0f, true},
             {L"setwarninglevel 2", level, 2.0f, false},
             {L"setwarninglevel 3", level, 3.0f, false},
             {L"setwarninglevel -1", level, 3.0f, true},
             {L"setwarninglevel 99999999999", level, 3.0f, true}}) {
        const std::string what = WideStringToNarrow(c.typed);
        ScopedCapture log(kLogMessage);
        Typed(c.typed);
        EXPECT_FLOAT_EQ(c.value(engine), c.expected) << what;
        WideString name = SplitCommandLine(c.typed).name;
        WideStringToUpper(name);
        EXPECT_EQ(log->Contains(name + L" takes "), c.told) << what;
        ResetSettings();
    }
}
