// The console commands that reach the video device (wireframe, the statistics
// lines) and the console's drawing of what players type: every engine command
// typed with hostile arguments on a real device, each followed by a drawn
// frame.

#include "engine/audio/AudioDevice.h"
#include "engine/core/ConsoleCommand.h"
#include "engine/core/EngineCommands.h"
#include "engine/core/dcEngine.h"
#include "engine/gui/dcGUIConsole.h"
#include "engine/input/InputCodes.h"
#include "tests/engine/core/HostileArguments.h"
#include "tests/render/sprites/EngineOnScreen.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace {

// The engine on screen with the console open over an idle module.
class ConsoleCommandsOnScreenTest : public EngineOnScreen {
protected:
    void SetUp() override
    {
        EngineOnScreen::SetUp();
        engine.SetEngineFlag(dcEngine::kRunning, true);
        engine.SetMLP(&idle, true);
        engine.GetConsole()->Enter();
    }
    void TearDown() override
    {
        engine.GetConsole()->Leave();
        EngineOnScreen::TearDown();
        LogHub::Instance().SetLevel(kLogMessage);
    }

    // Typed and entered; the line runs at the end of the frame that follows,
    // after it has drawn the console over the idle module.
    void Typed(const WideString& line)
    {
        for (wchar_t c : line) {
            engine.GetInputSystem()->OnChar(c);
        }
        scripted->keyEvents = {{kKeyEnter, true}};
        engine.PollInput(kStep);
        engine.RunFrame();
        scripted->keyEvents = {{kKeyEnter, false}};
        engine.PollInput(kStep);
    }

    static constexpr float kStep = 1.0f / 60.0f;

    // Outlives the engine's hold on it: the engine is the program's one.
    static inline MLP idle;
};

} // namespace

TEST_F(ConsoleCommandsOnScreenTest, EveryCommandTypedWithAnyArgumentIsFollowedByADrawnFrame)
{
    for (const auto& command : MakeEngineCommands(engine)) {
        const WideString& name = command->GetName();
        WideString lower = name;
        for (wchar_t& c : lower) {
            c = static_cast<wchar_t>(std::towlower(c));
        }
        for (const HostileArgument& argument : HostileArguments()) {
            const std::string what = WideStringToNarrow(name) + " with " + argument.name;
            const int32_t frames = engine.GetFrameCounter();
            // The next case's frame is the frame after this one's line.
            Typed(L" " + lower + L" " + argument.text + L" ");
            EXPECT_EQ(engine.GetFrameCounter(), frames + 1) << what;
            EXPECT_TRUE(engine.GetConsole()->GetInputLine().text.empty()) << what;
            // EXIT only asks the program's loop to end; this test's loop goes on.
            engine.SetEngineFlag(dcEngine::kRunning, true);
            engine.SetSleepTime(dcEngine::kNoSleep);
            engine.SetTimeScale(1.0f);
        }
    }
    engine.RunFrame();
    const Screenshot shot(*engine.GetVideoDevice());
    ASSERT_TRUE(shot.taken);
    EXPECT_FALSE(shot.AllPixelsAre(shot.pixels.front())) << "the console is drawn";
}
