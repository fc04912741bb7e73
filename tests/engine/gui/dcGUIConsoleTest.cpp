#include "engine/gui/MenuScreen.h"
#include "engine/gui/dcGUIConsole.h"
#include "tests/engine/gui/GuiTestSupport.h"
#include "tests/engine/input/ScriptedInputFixture.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

namespace {

// A console on scripted input: lines are typed into its input line and
// submitted with Enter.
class ConsoleTest : public ScriptedInput {
protected:
    ConsoleTest() : console(input.get())
    {
        Open();
        console.Enter();
    }

    void Type(const wchar_t* text)
    {
        for (const wchar_t* c = text; *c; ++c) {
            input->OnChar(*c);
        }
    }
    void Press(int32_t key)
    {
        Keys({Down(key)});
        console.HandleKeys();
        Keys({Up(key)});
    }
    std::vector<WideString> Queued()
    {
        std::vector<WideString> queued;
        WideString line;
        while (console.TakeCommand(line)) {
            queued.push_back(line);
        }
        return queued;
    }

    dcGUIConsole console;
};

} // namespace

TEST_F(ConsoleTest, EnterQueuesTheTrimmedUpperCaseCommand)
{
    ScopedCapture log(kLogMessage);
    Type(L"  connect host  ");
    Press(kKeyEnter);
    EXPECT_EQ(Queued(), std::vector<WideString>{L"CONNECT HOST"});
    EXPECT_EQ(log->lines, std::vector<WideString>{L"  connect host  "});
    EXPECT_EQ(console.GetHistory().front(), L"  connect host  ");
    EXPECT_EQ(console.GetInputLine().text, L"");
}

TEST_F(ConsoleTest, EmptyLinesRunNothing)
{
    Type(L"   ");
    Press(kKeyPadEnter);
    Press(kKeyEnter);
    EXPECT_TRUE(Queued().empty());
    EXPECT_TRUE(console.GetHistory().empty());
}

TEST_F(ConsoleTest, HistoryKeepsTheNewestEightAndBrowsesFromTheNewest)
{
    for (int i = 0; i < 10; ++i) {
        Type((L"cmd" + std::to_wstring(i)).c_str());
        Press(kKeyEnter);
    }
    console.Tick(0.01f);
    EXPECT_EQ(console.GetHistory().size(), 8u);

    Press(kKeyDown);   // no Up before: the newest entry
    EXPECT_EQ(console.GetInputLine().text, L"cmd9");
    Press(kKeyUp);
    Press(kKeyUp);
    EXPECT_EQ(console.GetInputLine().text, L"cmd7");
    EXPECT_EQ(console.GetInputLine().caret, 4);
}

TEST_F(ConsoleTest, KeepsTheNewestLogLinesOnceAQuarterMoreHaveCome)
{
    struct Case {
        int written;
        size_t kept;
    };
    for (const Case& c : std::initializer_list<Case>{{159, 159}, {160, 128}}) {
        dcGUIConsole fresh(nullptr);
        for (int i = 0; i < c.written; ++i) {
            fresh.Write(L"line " + std::to_wstring(i));
        }
        fresh.Tick(0.01f);
        ASSERT_EQ(fresh.GetLines().size(), c.kept) << c.written;
        EXPECT_EQ(fresh.GetLines().front(), L"line " + std::to_wstring(c.written - 1));
        EXPECT_EQ(fresh.GetLines().back(), L"line " + std::to_wstring(c.written - c.kept));
    }
}

TEST_F(ConsoleTest, SlidesInAndOutInOneSecond)
{
    console.Tick(0.4f);
    EXPECT_FLOAT_EQ(console.GetOpenFraction(), 0.4f);
    console.Tick(1.0f);
    EXPECT_FLOAT_EQ(console.GetOpenFraction(), 1.0f);
    console.Leave();
    console.Tick(0.25f);
    EXPECT_FLOAT_EQ(console.GetOpenFraction(), 0.75f);
    Type(L"x");
    EXPECT_EQ(console.GetInputLine().text, L"");   // closed: typing goes elsewhere
}

namespace {

// The engine's own console, opened and used through the engine's input step,
// over a menu screen of one widget.
class EngineConsoleTest : public GuiTest {
protected:
    EngineConsoleTest()
    {
        auto widget = std::make_unique<CountingWidget>();
        item = widget.get();
        screen.AddWidget(std::move(widget));
        engine.SetMLP(&screen, true);
    }

    dcGUIConsole& console = *engine.GetConsole();
    MenuScreen screen{L"Test", L"Test.DCT"};
    CountingWidget* item;
};

} // namespace

TEST_F(EngineConsoleTest, TheGraveKeyOpensItAndEscapeClosesItWithASound)
{
    Press(kKeyGrave);
    EXPECT_TRUE(console.IsOpen());
    EXPECT_EQ(audio->Count(L"Console.WAV"), 1);
    Press(kKeyEscape);
    EXPECT_FALSE(console.IsOpen());
    Press(kKeyGrave);
    Press(kKeyGrave);
    EXPECT_FALSE(console.IsOpen());
    EXPECT_EQ(audio->Count(L"Console.WAV"), 4);
}

TEST_F(EngineConsoleTest, TypedLinesGoToTheQueueNotToTheScreen)
{
    Press(kKeyGrave);
    for (wchar_t c : WideString(L"fps")) {
        Input().OnChar(c);
    }
    Press(kKeyEnter);
    WideString line;
    ASSERT_TRUE(console.TakeCommand(line));
    EXPECT_EQ(line, L"FPS");
    EXPECT_TRUE(item->activations.empty());
    Press(kKeyEscape);
    Press(kKeyEnter);
    EXPECT_EQ(item->activations.size(), 1u);
}
