#include "engine/audio/AudioDevice.h"
#include "engine/core/LogHub.h"
#include "engine/core/dcEngine.h"
#include "engine/core/dcWindow.h"
#include "engine/gui/dcGUIConsole.h"
#include "engine/input/InputCodes.h"
#include "engine/input/InputSystem.h"
#include "engine/video/VideoDevice.h"
#include "tests/engine/core/EngineForTest.h"
#include "tests/engine/core/ScriptedClock.h"
#include "tests/engine/input/ScriptedInputDevices.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <functional>

namespace {

// Counts its steps; an update may switch modules.
class CountingModule : public MLP {
public:
    void HandleInput() override { ++inputs; }
    void Update() override
    {
        ++updates;
        if (onUpdate) {
            onUpdate();
        }
    }
    void Enter() override { ++enters; }

    int32_t inputs = 0;
    int32_t updates = 0;
    int32_t enters = 0;
    std::function<void()> onUpdate;
};

// An engine on a scripted clock and scripted input, without video or audio,
// and no window in front: frames faster than 0.1 s sleep 0.05 s, as they do
// behind other programs.
class EngineFrameTest : public testing::Test {
protected:
    EngineFrameTest()
    {
        engine.Init(kLogMessage);
        auto devices = std::make_unique<ScriptedInputDevices>();
        scripted = devices.get();
        engine.Start(nullptr, nullptr, std::make_unique<InputSystem>(std::move(devices), &engine.GetLanguage()),
                     L"English");
        engine.GetTimer().Reset();
    }
    ~EngineFrameTest() override { engine.Shutdown(); }

    void Frame(uint32_t milliseconds)
    {
        clock.Advance(milliseconds);
        engine.RunFrame();
    }
    void Keys(std::vector<ButtonEvent> events, float step = 0.02f)
    {
        scripted->keyEvents = std::move(events);
        engine.PollInput(step);
    }

    ScratchFolder scratch;
    ScriptedClock clock;
    EngineForTest lent{clock};
    dcEngine& engine = lent.engine;
    ScriptedInputDevices* scripted;
    CountingModule module;
};

} // namespace

TEST_F(EngineFrameTest, FrameTimeIsSmoothedAndScaled)
{
    engine.SetMLP(&module, true);
    struct Case {
        uint32_t milliseconds;
        int32_t samples;
        float timeScale;
        float frameTime;
        float rawFrameTime;
    };
    for (const Case& c : std::initializer_list<Case>{
             {20, 1, 1.0f, 0.02f, 0.02f},
             {50, 1, 1.0f, 0.05f, 0.05f},
             {20, 2, 1.0f, (0.02f + 0.5f * 0.05f) / 1.5f, 0.02f},
             {50, 2, 1.0f, 0.04f, 0.05f},        // (0.05 + 0.5 x 0.02) / 1.5
             {50, 1, 0.01f, 0.0005f, 0.0005f}}) {  // a hundredth of the interval
        engine.GetFrameTimes().SetSampleCount(c.samples);
        engine.SetTimeScale(c.timeScale);
        Frame(c.milliseconds);
        EXPECT_FLOAT_EQ(engine.GetFrameTime(), c.frameTime) << c.milliseconds << " ms, " << c.samples;
        EXPECT_FLOAT_EQ(engine.GetRawFrameTime(), c.rawFrameTime) << c.milliseconds << " ms, " << c.samples;
    }
}

TEST_F(EngineFrameTest, FrameRateCountsScaledTime)
{
    // One frame per 25 real seconds at a hundredth of the time: the figure
    // reads 100 times the real rate of 0.04 frames a second.
    engine.SetMLP(&module, true);
    engine.SetTimeScale(0.01f);
    for (int frame = 0; frame < 3; ++frame) {
        Frame(25000);
        EXPECT_FLOAT_EQ(engine.GetFrameRate(), 0.0f);   // not a whole second yet
    }
    Frame(25000);
    EXPECT_FLOAT_EQ(engine.GetFrameRate(), 4.0f);
    EXPECT_FLOAT_EQ(engine.GetTime(), 1.0f);            // the engine's running time
}

TEST_F(EngineFrameTest, ASwitchRunsAnotherPassInTheSameFrame)
{
    CountingModule next;
    module.onUpdate = [this, &next] { engine.SetMLP(&next, true); };
    engine.SetMLP(&module, true);

    // The runtime's random sequence advances once per frame, not per pass.
    std::srand(7);
    std::rand();
    const int secondDraw = std::rand();
    std::srand(7);
    Frame(20);
    EXPECT_EQ(module.updates, 1);
    EXPECT_EQ(next.updates, 1);   // updated in the frame it was switched to
    EXPECT_EQ(next.enters, 1);
    EXPECT_EQ(engine.GetCurrentMLP(), &next);
    EXPECT_EQ(engine.GetFrameCounter(), 1);   // one frame, two passes
    EXPECT_EQ(std::rand(), secondDraw);
}

TEST_F(EngineFrameTest, WithoutAModuleTheFrameSaysSoAndCarriesOn)
{
    Frame(20);
    Frame(20);
    EXPECT_EQ(engine.GetConsole()->GetLines().front(), L"dcEngine: No MLP loaded!");
    EXPECT_EQ(engine.GetFrameCounter(), 2);
    EXPECT_TRUE(engine.IsRunning());
}

TEST_F(EngineFrameTest, InputStepRunsWithTheStepAsFrameTime)
{
    float seen = -1.0f;
    engine.SetMLP(&module, true);
    Frame(20);
    const float frameTime = engine.GetFrameTime();
    struct StepProbe : MLP {
        StepProbe(dcEngine& engine, float& seen) : engine(engine), seen(seen) {}
        void HandleInput() override { seen = engine.GetFrameTime(); }
        dcEngine& engine;
        float& seen;
    } probe(engine, seen);
    engine.SetMLP(&probe, true);
    engine.PollInput(0.125f);
    EXPECT_FLOAT_EQ(seen, 0.125f);
    EXPECT_FLOAT_EQ(engine.GetFrameTime(), frameTime);   // put back afterwards
}

TEST_F(EngineFrameTest, AnOpenConsoleTakesTheKeysFromTheModule)
{
    engine.SetMLP(&module, true);
    Keys({{kKeyGrave, true}});
    EXPECT_TRUE(engine.GetConsole()->IsOpen());
    EXPECT_EQ(module.inputs, 0);
    Keys({{kKeyGrave, false}, {kKeyEscape, true}});
    EXPECT_FALSE(engine.GetConsole()->IsOpen());
    EXPECT_EQ(module.inputs, 0);   // Escape closed the console and went no further
    Keys({{kKeyEscape, false}});
    EXPECT_EQ(module.inputs, 1);
}

TEST_F(EngineFrameTest, WindowMessagesReachTheEngine)
{
    dcWindow window(L"Engine window test", {0, 0, 800, 600}, false);
    ASSERT_NE(window.GetHandle(), nullptr);
    TextReceiver typed;
    engine.GetInputSystem()->PushTextReceiver(typed);
    window.LockForExternalLoop();
    for (wchar_t c : WideString(L"a`~\tb")) {
        SendMessageW(window.GetHandle(), WM_CHAR, c, 0);
    }
    // Left of the desktop: the position's halves are signed.
    SendMessageW(window.GetHandle(), WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(-20), 30));
    SendMessageW(window.GetHandle(), WM_CLOSE, 0, 0);
    window.UnlockExternalLoop();
    engine.GetInputSystem()->RemoveTextReceiver(typed);

    EXPECT_EQ(typed.text, L"ab");   // the console keys never reach text input
    EXPECT_EQ(window.GetX(), -20);
    EXPECT_EQ(window.GetY(), 30);
    EXPECT_EQ(window.GetRight(), -20 + window.GetClientWidth());
    EXPECT_FALSE(engine.IsRunning());
    EXPECT_TRUE(IsWindow(window.GetHandle()));   // closing leaves the window to the program's end
}
