#include "engine/gui/BindingWidget.h"
#include "engine/gui/ChoiceWidget.h"
#include "engine/gui/MenuScreen.h"
#include "engine/gui/SliderWidget.h"
#include "tests/engine/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t kKeyX = 45;

// Keeps every proposal; adjusts nothing.
template <typename Value>
class RecordingOption : public OptionValue<Value> {
public:
    explicit RecordingOption(Value initial) : OptionValue<Value>(initial) {}
    void OnChange(Value* proposed) override { proposals.push_back(*proposed); }
    std::vector<Value> proposals;
};

// The widget under test is the only one of the current screen, at (100, 100).
class MenuWidgetTest : public GuiTest {
protected:
    template <typename W>
    W& Show(std::unique_ptr<W> widget)
    {
        W& shown = *widget;
        widget->SetPosition({100, 100}, false);
        screen.AddWidget(std::move(widget));
        engine.SetMLP(&screen, true);
        audio->Forget();
        return shown;
    }

    MenuScreen screen{L"Test", L"Test.DCT"};
};

class ChoiceTest : public MenuWidgetTest {
protected:
    ChoiceWidget& Make(int32_t value)
    {
        option.value = value;
        return Show(std::make_unique<ChoiceWidget>(L"Detail", std::vector<WideString>{L"Low", L"Mid", L"High"},
                                                   &option, nullptr));
    }

    RecordingOption<int32_t> option{0};
};

class SliderTest : public MenuWidgetTest {
protected:
    SliderWidget& Make(float value)
    {
        option.value = value;
        return Show(std::make_unique<SliderWidget>(L"Volume", &option));
    }

    RecordingOption<float> option{0.0f};
};

class BindingTest : public MenuWidgetTest {
protected:
    BindingTest()
    {
        SelectedBindingSlot = 0;
        option.value.primaryCode = kKeyX;
        option.value.primaryText = L"X";
    }
    BindingWidget& Make() { return Show(std::make_unique<BindingWidget>(L"Fire", &option)); }

    RecordingOption<ControlBinding> option{ControlBinding{}};
};

} // namespace

TEST_F(ChoiceTest, ProposesItsValueWhenMade)
{
    ChoiceWidget& choice = Make(1);
    EXPECT_EQ(option.widget, &choice);
    EXPECT_EQ(option.proposals, std::vector<int32_t>{1});
}

TEST_F(ChoiceTest, WithoutWrappingTheEndsHoldSilently)
{
    ChoiceWidget& choice = Make(2);
    choice.SetWrap(false);
    choice.Next();
    EXPECT_EQ(choice.GetValue(), 2);
    EXPECT_TRUE(audio->played.empty());
    choice.SetWrap(true);
    choice.Next();
    EXPECT_EQ(choice.GetValue(), 0);
    EXPECT_EQ(audio->Count(L"Click.WAV"), 1);
    choice.SetWrap(false);
    choice.Previous();
    EXPECT_EQ(choice.GetValue(), 0);
    EXPECT_EQ(audio->Count(L"Click.WAV"), 1);
}

TEST_F(ChoiceTest, SteppingSkipsDisabledOptions)
{
    ChoiceWidget& choice = Make(2);
    choice.SetOptionEnabled(0, false);
    choice.Next();
    EXPECT_EQ(choice.GetValue(), 1);
    choice.Previous();
    EXPECT_EQ(choice.GetValue(), 2);
    EXPECT_TRUE(choice.HasChanged());

    choice.SetOptionEnabled(1, false);   // the current option is the only one left
    option.proposals.clear();
    choice.Next();
    EXPECT_EQ(choice.GetValue(), 2);
    EXPECT_TRUE(option.proposals.empty());
    EXPECT_EQ(audio->Count(L"Click.WAV"), 3);
}

TEST_F(ChoiceTest, ActivationsAndArrowsStepBothWays)
{
    ChoiceWidget& choice = Make(0);
    struct Case {
        int32_t how;
        int32_t value;
    };
    for (const Case& c : std::initializer_list<Case>{{kActivateKey, 1},
                                                     {kActivateLeftClick, 2},
                                                     {kActivateRightClick, 1},
                                                     {kActivateOtherButton, 1}}) {
        choice.Activate(c.how);
        EXPECT_EQ(choice.GetValue(), c.value) << c.how;
    }
    Press(kKeyRight);
    EXPECT_EQ(choice.GetValue(), 2);
    Press(kKeyLeft);
    Press(kKeyLeft);
    EXPECT_EQ(choice.GetValue(), 0);
}

TEST_F(ChoiceTest, TheShownOptionIsHitToo)
{
    ChoiceWidget& choice = Make(2);   // "High", 40 pixels wide at x = 350
    EXPECT_TRUE(choice.HandleMouse({355, 105}));
    EXPECT_FALSE(choice.HandleMouse({395, 105}));
    choice.SetEnabled(false);
    Clicks({{0, true}});
    EXPECT_FALSE(choice.HandleMouse({355, 105}));
    EXPECT_EQ(audio->Count(L"False.WAV"), 1);
}

TEST_F(SliderTest, ArrowsCrossTheRangeInASecondAndStopAtItsEnds)
{
    SliderWidget& slider = Make(0.4f);
    EXPECT_EQ(option.proposals, std::vector<float>{0.4f});
    Keys({{kKeyRight, true}});
    Frames(29);
    EXPECT_NEAR(slider.GetValue(), 0.9f, 1e-5f);
    Frames(30);
    EXPECT_EQ(slider.GetValue(), 1.0f);
    Keys({{kKeyRight, false}, {kKeyLeft, true}});
    Frames(90);
    EXPECT_EQ(slider.GetValue(), 0.0f);
    for (float proposal : option.proposals) {
        EXPECT_GE(proposal, 0.0f);
        EXPECT_LE(proposal, 1.0f);
    }
}

TEST_F(SliderTest, ValuesAreClamped)
{
    SliderWidget& slider = Make(0.5f);
    struct Case {
        float set;
        float value;
    };
    for (const Case& c : std::initializer_list<Case>{{-3.0f, 0.0f}, {0.25f, 0.25f}, {2.0f, 1.0f}}) {
        slider.SetValue(c.set);
        EXPECT_EQ(slider.GetValue(), c.value);
    }
}

TEST_F(SliderTest, ADisabledSliderIsNeverHit)
{
    SliderWidget& slider = Make(0.5f);
    EXPECT_TRUE(slider.HandleMouse({105, 105}));
    slider.SetEnabled(false);
    Clicks({{0, true}});
    EXPECT_FALSE(slider.HandleMouse({105, 105}));
    EXPECT_TRUE(audio->played.empty());
}

TEST_F(BindingTest, WaitsForTheNextInputWithTheScreenStill)
{
    BindingWidget& binding = Make();
    Press(kKeyEnter);
    EXPECT_TRUE(binding.IsListening());
    EXPECT_FALSE(screen.IsCursorVisible());
    EXPECT_FALSE(screen.HasKeyboardNavigation());
    EXPECT_FALSE(screen.HasMouseNavigation());
    EXPECT_EQ(audio->Count(L"Click.WAV"), 1);

    Frames(3);   // nothing pressed: still waiting
    EXPECT_TRUE(binding.IsListening());
    const int32_t key = 17;
    Press(key);
    EXPECT_FALSE(binding.IsListening());
    EXPECT_TRUE(screen.HasKeyboardNavigation() && screen.HasMouseNavigation() && screen.IsCursorVisible());
    EXPECT_EQ(binding.GetBinding().primaryCode, key);
    EXPECT_EQ(binding.GetBinding().primaryText, Input().GetCodeName(key));
    EXPECT_EQ(option.value.primaryCode, key);
}

TEST_F(BindingTest, TheSameInputInBothColumnsLeavesTheSecondUnbound)
{
    BindingWidget& binding = Make();
    Press(kKeyRight);   // the secondary column
    EXPECT_EQ(SelectedBindingSlot, 1);
    Press(kKeyEnter);
    Press(kKeyX);
    EXPECT_EQ(binding.GetBinding().primaryCode, kKeyX);
    EXPECT_EQ(binding.GetBinding().secondaryCode, -1);
    EXPECT_EQ(binding.GetBinding().secondaryText, Input().GetCodeName(-1));
}

TEST_F(BindingTest, MouseMovementIsCapturedByItsDirection)
{
    BindingWidget& binding = Make();
    Press(kKeyEnter);
    MouseMove(0, 3, 0);   // too little
    EXPECT_TRUE(binding.IsListening());
    MouseMove(0, -9, 0);
    EXPECT_EQ(binding.GetBinding().primaryCode, kFirstMouseAxisCode + 2);
}

TEST_F(BindingTest, DeleteUnbindsTheSelectedColumn)
{
    BindingWidget& binding = Make();
    option.proposals.clear();
    Press(kKeyDelete);
    EXPECT_EQ(binding.GetBinding().primaryCode, -1);
    EXPECT_EQ(binding.GetBinding().primaryText, Input().GetCodeName(-1));
    EXPECT_EQ(audio->Count(L"Click.WAV"), 1);
    ASSERT_EQ(option.proposals.size(), 1u);
    EXPECT_EQ(option.proposals.front().primaryCode, -1);
}

TEST_F(BindingTest, AClickOnAColumnSelectsIt)
{
    BindingWidget& binding = Make();   // "X" at x = 350, "None" at x = 500
    EXPECT_TRUE(binding.HandleMouse({505, 105}));
    EXPECT_EQ(SelectedBindingSlot, 1);
    EXPECT_TRUE(binding.HandleMouse({355, 105}));
    EXPECT_EQ(SelectedBindingSlot, 0);
    EXPECT_FALSE(binding.HandleMouse({365, 105}));
}

TEST(BindingText, IsCutToTheColumnWidth)
{
    FixedFont font(10.0f, 14);
    EXPECT_EQ(BindingWidget::FitText(font, WideString(20, L'a'), 150), WideString(15, L'a') + L"...");
    EXPECT_EQ(BindingWidget::FitText(font, L"Space", 150), L"Space");
    FixedFont wider(10.06f, 14);   // 15 glyphs: 150.9 pixels
    EXPECT_EQ(BindingWidget::FitText(wider, WideString(15, L'a'), 150), WideString(15, L'a'));
}
