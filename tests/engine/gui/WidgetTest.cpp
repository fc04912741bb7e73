#include "engine/gui/ButtonWidget.h"
#include "engine/gui/LabelWidget.h"
#include "tests/engine/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

namespace {


class WidgetTest : public GuiTest {
protected:
    // A ten-glyph widget at (100, 200): its hit rectangle is 100 x 14.
    WidgetTest() { widget.SetPosition({100, 200}, false); }

    CountingWidget widget{L"0123456789"};
};

// Proposals as the option saw them, in order.
class RecordingButtonOption : public ButtonOption {
public:
    void OnChange(uint8_t* proposed) override { proposals.push_back(*proposed); }
    std::vector<int32_t> proposals;
};

} // namespace

TEST_F(WidgetTest, TakesTheFocusOnlyWhenEnabledAndFocusableOrHeldByAHotkey)
{
    struct Case {
        bool enabled;
        bool focusable;
        bool hotkey;
        bool accepted;
    };
    for (const Case& c : std::initializer_list<Case>{{true, true, false, true},
                                                     {false, true, false, false},
                                                     {true, false, false, false},
                                                     {true, false, true, true},
                                                     {false, false, true, false}}) {
        CountingWidget w;
        w.SetEnabled(c.enabled);
        w.SetFlag(Widget::kFocusable, c.focusable);
        w.SetState(WidgetRect::kHotkeyFocus, c.hotkey);
        EXPECT_EQ(w.SetFocus(true), c.accepted) << c.enabled << c.focusable << c.hotkey;
        EXPECT_EQ(w.IsFocused(), c.accepted);
    }
}

TEST_F(WidgetTest, LosingTheEnablingOrTheHotkeyNeverKeepsTheFocus)
{
    ASSERT_TRUE(widget.SetFocus(true));
    widget.SetEnabled(false);
    EXPECT_FALSE(widget.IsFocused());

    CountingWidget unfocusable;
    unfocusable.SetFlag(Widget::kFocusable, false);
    unfocusable.SetState(WidgetRect::kHotkeyFocus, true);
    ASSERT_TRUE(unfocusable.SetFocus(true));
    unfocusable.SetState(WidgetRect::kHotkeyFocus, false);
    EXPECT_TRUE(unfocusable.SetFocus(false));
    EXPECT_FALSE(unfocusable.IsFocused());
}

TEST_F(WidgetTest, CentringPlacesTheHitRectangleAroundThePoint)
{
    FixedFont narrow(1.0f, 14);
    CountingWidget wide(WideString(101, L'x'), &narrow);
    EXPECT_EQ(wide.SetPosition({400, 100}, true), 124);
    EXPECT_EQ(wide.GetHitRect().left, 350);
    EXPECT_EQ(wide.GetHitRect().right, 451);
    EXPECT_EQ(wide.GetHitRect().bottom, 114);
    EXPECT_EQ(wide.GetPosition().left, 350);   // text widgets' position rectangles have no width
}

TEST_F(WidgetTest, TheFocusedHitRectangleFollowsTheShiftedText)
{
    struct Case {
        WidgetPoint point;
        bool unfocusedHit;
        bool focusedHit;
    };
    for (const Case& c : std::initializer_list<Case>{{{100, 200}, true, false},
                                                     {{98, 202}, false, true},
                                                     {{199, 213}, true, false},
                                                     {{197, 215}, false, true},
                                                     {{150, 207}, true, true}}) {
        widget.SetFocus(false);
        EXPECT_EQ(widget.HandleMouse(c.point), c.unfocusedHit) << c.point.x << "," << c.point.y;
        widget.SetFocus(true);
        EXPECT_EQ(widget.HandleMouse(c.point), c.focusedHit) << c.point.x << "," << c.point.y;
    }
}

TEST_F(WidgetTest, AClickOnADisabledWidgetPlaysFalseAndIsNoHit)
{
    widget.SetEnabled(false);
    Clicks({{0, true}});
    EXPECT_FALSE(widget.HandleMouse({150, 205}));
    EXPECT_EQ(audio->Count(L"False.WAV"), 1);
    EXPECT_FALSE(widget.HandleMouse({50, 205}));   // beside it
    EXPECT_EQ(audio->Count(L"False.WAV"), 1);
    Frames(1);   // no click this frame
    EXPECT_FALSE(widget.HandleMouse({150, 205}));
    EXPECT_EQ(audio->Count(L"False.WAV"), 1);
}

TEST_F(WidgetTest, AHeldClickActivatesOnceThenRepeats)
{
    widget.SetFocus(true);
    const auto frame = [&](std::vector<ButtonEvent> clicks) {
        Clicks(std::move(clicks), 0.01f);
        widget.HandleKeys({150, 207});
    };
    frame({{0, true}});
    EXPECT_EQ(widget.activations, std::vector<int32_t>{kActivateLeftClick});
    for (int i = 0; i < 20; ++i) {
        frame({});
    }
    EXPECT_EQ(widget.activations.size(), 1u);   // 0.2 s held
    for (int i = 0; i < 30; ++i) {
        frame({});
    }
    EXPECT_GE(widget.activations.size(), 3u);   // 0.5 s held
    const size_t held = widget.activations.size();
    frame({{0, false}});
    widget.HandleKeys({150, 207});
    EXPECT_EQ(widget.activations.size(), held);
}

TEST_F(WidgetTest, EnterAndTheOtherButtonsActivateWherever)
{
    Keys({{kKeyEnter, true}});
    widget.HandleKeys({0, 0});
    Clicks({{2, true}});
    widget.HandleKeys({0, 0});
    Clicks({{0, true}});
    widget.HandleKeys({0, 0});   // a left click beside it does nothing
    EXPECT_EQ(widget.activations, (std::vector<int32_t>{kActivateKey, kActivateOtherButton}));
}

TEST_F(WidgetTest, TheFocusGlowPulsesAndRecovers)
{
    widget.SetFocus(true);
    const auto step = [&](float dt) {
        widget.Update(dt);
        return widget.GetBrightness();
    };
    EXPECT_FLOAT_EQ(step(0.125f), 0.75f);
    EXPECT_FLOAT_EQ(step(0.25f), 0.25f);
    EXPECT_FLOAT_EQ(step(0.1f), 0.45f);   // rising again from the bottom
    EXPECT_FLOAT_EQ(step(0.5f), 1.0f);
    EXPECT_FLOAT_EQ(step(0.1f), 0.8f);    // and falling from the top
    widget.SetFocus(false);
    EXPECT_FLOAT_EQ(step(0.025f), 0.9f);
    EXPECT_FLOAT_EQ(step(0.1f), 1.0f);
}

TEST_F(WidgetTest, LabelsNeverTakeTheFocus)
{
    LabelWidget label(L"Title", false, nullptr);
    EXPECT_FALSE(label.IsEnabled());
    EXPECT_TRUE(label.HasFlag(Widget::kBrightWhileDisabled));
    label.SetState(WidgetRect::kHotkeyFocus, true);
    EXPECT_FALSE(label.SetFocus(true));
    EXPECT_FALSE(LabelWidget(L"Dim", true, nullptr).HasFlag(Widget::kBrightWhileDisabled));
}

TEST_F(WidgetTest, ButtonsGoBackToThePreviousModuleThenProposeOne)
{
    RecordingButtonOption option;
    ButtonWidget button(L"Back", &option);
    EXPECT_EQ(option.widget, &button);

    static MLP first;
    static MLP second;
    engine.SetEngineFlag(dcEngine::kStacking, true);
    engine.SetMLP(&first, false);
    engine.SetMLP(&second, false);
    button.Activate(kActivateKey);
    EXPECT_EQ(option.proposals, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(engine.GetCurrentMLP(), &first);
    EXPECT_EQ(audio->Count(L"Back.WAV"), 1);
}
