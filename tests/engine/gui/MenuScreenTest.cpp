#include "engine/gui/MenuScreen.h"
#include "tests/engine/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t kKeyA = 30;
constexpr int32_t kKeyB = 48;

// A current screen of five widgets, one under the other from (100, 100),
// 40 pixels apart; each 40 x 14 pixels.
class MenuScreenTest : public GuiTest {
protected:
    MenuScreenTest()
    {
        for (int32_t i = 0; i < 5; ++i) {
            auto widget = std::make_unique<CountingWidget>(L"Item");
            widget->SetPosition({100, 100 + 40 * i}, false);
            widgets.push_back(widget.get());
            screen.AddWidget(std::move(widget));
        }
    }

    void Show()
    {
        engine.SetMLP(&screen, true);
        audio->Forget();
    }

    MenuScreen screen{L"Test", L"Test.DCT"};
    std::vector<CountingWidget*> widgets;
};

} // namespace

TEST_F(MenuScreenTest, IndicesWrapRoundTheList)
{
    struct Case {
        int32_t index;
        int32_t selected;
    };
    for (const Case& c : std::initializer_list<Case>{{-1, 4}, {7, 2}, {5, 0}, {-6, 4}, {3, 3}}) {
        EXPECT_TRUE(screen.SelectWidget(c.index));
        EXPECT_EQ(screen.GetCurrentWidget(), c.selected) << c.index;
        EXPECT_TRUE(widgets[c.selected]->IsFocused());
    }
    EXPECT_EQ(std::count_if(widgets.begin(), widgets.end(), [](CountingWidget* w) { return w->IsFocused(); }), 1);
}

TEST_F(MenuScreenTest, EnteringFocusesTheDefaultWidget)
{
    screen.SetDefaultWidget(2);
    Show();
    EXPECT_EQ(screen.GetCurrentWidget(), 2);
    EXPECT_TRUE(widgets[2]->IsFocused());
    EXPECT_EQ(screen.GetUseCount(), 1);
    engine.SetMLP(nullptr, false);   // refused: the screen stays
    static MLP other;
    engine.SetMLP(&other, false);
    EXPECT_FALSE(widgets[2]->IsFocused());
    EXPECT_EQ(audio->Count(L"Menu.WAV"), 1);
}

TEST_F(MenuScreenTest, ArrowsSkipWidgetsThatRefuseTheFocusAndWrap)
{
    widgets[0]->SetEnabled(false);
    widgets[3]->SetFlag(Widget::kFocusable, false);
    screen.SetDefaultWidget(4);
    Show();
    Press(kKeyDown);
    EXPECT_EQ(screen.GetCurrentWidget(), 1);
    EXPECT_EQ(audio->Count(L"MenuMove.WAV"), 1);
    Press(kKeyDown);
    Press(kKeyDown);
    EXPECT_EQ(screen.GetCurrentWidget(), 4);
    Press(kKeyUp);
    EXPECT_EQ(screen.GetCurrentWidget(), 2);
    EXPECT_FALSE(widgets[4]->IsFocused());
    EXPECT_EQ(audio->Count(L"MenuMove.WAV"), 4);
}

TEST_F(MenuScreenTest, WithoutAWidgetToFocusNothingChangesOrSounds)
{
    for (CountingWidget* widget : widgets) {
        widget->SetEnabled(false);
    }
    Show();
    const int32_t current = screen.GetCurrentWidget();
    Press(kKeyDown);
    Press(kKeyUp);
    EXPECT_EQ(screen.GetCurrentWidget(), current);
    EXPECT_FALSE(screen.SelectWidget(1));
    EXPECT_TRUE(audio->played.empty());
}

TEST_F(MenuScreenTest, SelectingTheCurrentWidgetAgainIsSilent)
{
    Show();
    EXPECT_TRUE(screen.SelectWidget(0));
    EXPECT_TRUE(screen.SelectWidget(5));
    EXPECT_TRUE(audio->played.empty());
    EXPECT_TRUE(screen.SelectWidget(1));
    EXPECT_EQ(audio->Count(L"MenuMove.WAV"), 1);
}

TEST_F(MenuScreenTest, HotkeysSelectAndActivateEnabledWidgetsOnly)
{
    widgets[3]->SetFlag(Widget::kFocusable, false);
    widgets[4]->SetEnabled(false);
    screen.AddHotkey(kKeyA, 3);
    screen.AddHotkey(kKeyB, 4);
    Show();

    Press(kKeyA);
    EXPECT_EQ(screen.GetCurrentWidget(), 3);
    EXPECT_EQ(widgets[3]->activations, std::vector<int32_t>{kActivateKey});
    EXPECT_FALSE(widgets[3]->HasState(WidgetRect::kHotkeyFocus));

    Press(kKeyB);
    EXPECT_EQ(screen.GetCurrentWidget(), 3);
    EXPECT_TRUE(widgets[4]->activations.empty());

    Press(kKeyUp);   // navigation takes the focus from the hotkey's widget again
    EXPECT_EQ(screen.GetCurrentWidget(), 2);
    EXPECT_FALSE(widgets[3]->IsFocused());
}

TEST_F(MenuScreenTest, TheMouseSelectsWhatItPointsAtAndTheWheelSteps)
{
    Show();
    MoveCursor(120, 187);   // on the third widget
    MouseMove(3, 0, 0);
    EXPECT_EQ(screen.GetCurrentWidget(), 2);
    MouseMove(0, 0, 120);   // rolled away from the player: up the list
    EXPECT_EQ(screen.GetCurrentWidget(), 1);
    MouseMove(0, 0, -120);
    EXPECT_EQ(screen.GetCurrentWidget(), 2);

    screen.SetMouseNavigation(false);
    MoveCursor(120, 107);
    MouseMove(3, 0, 0);
    EXPECT_EQ(screen.GetCurrentWidget(), 2);
}

TEST_F(MenuScreenTest, TheCurrentWidgetGetsTheKeys)
{
    Show();
    Press(kKeyEnter);
    EXPECT_EQ(widgets[0]->activations, std::vector<int32_t>{kActivateKey});
    widgets[0]->SetState(WidgetRect::kTakesKeys, false);
    Press(kKeyEnter);
    EXPECT_EQ(widgets[0]->activations.size(), 1u);
}

TEST_F(MenuScreenTest, EachEntryCountsUntilItIsPopped)
{
    Show();
    screen.Enter();
    EXPECT_EQ(screen.GetUseCount(), 2);
    screen.Popped();
    screen.Popped();
    screen.Popped();
    EXPECT_EQ(screen.GetUseCount(), 0);
}
