#include "tests/engine/input/ScriptedInputFixture.h"

namespace {

class KeyInput : public ScriptedInput {
protected:
    void SetUp() override { Open(); }

    // Presses the key, holds it for the given time in steps of dt and
    // releases it; answers the times since the press at which it repeated.
    std::vector<double> RepeatTimes(float dt, double held)
    {
        std::vector<double> times;
        Keys({Down(kKeyUp)}, dt);
        EXPECT_TRUE(input->PressedWithRepeat(kKeyUp, kMenuDelay, kMenuRate)) << "the press itself";
        for (int32_t n = 1; n * static_cast<double>(dt) < held; ++n) {
            input->Update(dt);
            if (input->PressedWithRepeat(kKeyUp, kMenuDelay, kMenuRate)) {
                times.push_back(n * static_cast<double>(dt));
            }
        }
        Keys({Up(kKeyUp)}, dt);
        return times;
    }
};

TEST_F(KeyInput, PressHoldAndReleaseEachShowForOneUpdate)
{
    Keys({Down(kKeyEnter)});
    EXPECT_TRUE(input->WasPressed(kKeyEnter));
    EXPECT_TRUE(input->IsDown(kKeyEnter));
    EXPECT_FALSE(input->WasReleased(kKeyEnter));
    EXPECT_FALSE(input->WasPressed(kKeyEscape));

    Wait(kStep);
    EXPECT_FALSE(input->WasPressed(kKeyEnter));
    EXPECT_TRUE(input->IsDown(kKeyEnter));

    Keys({Up(kKeyEnter)});
    EXPECT_TRUE(input->WasReleased(kKeyEnter));
    EXPECT_FALSE(input->IsDown(kKeyEnter));

    Wait(kStep);
    EXPECT_FALSE(input->WasReleased(kKeyEnter));
}

TEST_F(KeyInput, ATapWithinOneUpdateIsBothPressedAndReleased)
{
    Keys({Down(kKeyGrave), Up(kKeyGrave)});
    EXPECT_TRUE(input->WasPressed(kKeyGrave));
    EXPECT_TRUE(input->WasReleased(kKeyGrave));
    EXPECT_FALSE(input->IsDown(kKeyGrave));
}

TEST_F(KeyInput, CodesWithoutAHeldStateAnswerNothing)
{
    devices->mouse = {500, 500, 120, {}};
    Keys({Down(kKeyEnter)});
    for (int32_t code : {kNoInputCode, -2, kFirstMouseAxisCode, kFirstMouseAxisCode + 1, kFirstControllerCode,
                         ControllerAxisHalfCode(0, 1)}) {
        EXPECT_FALSE(input->IsDown(code)) << code;
        EXPECT_FALSE(input->WasPressed(code)) << code;
        EXPECT_FALSE(input->WasReleased(code)) << code;
        EXPECT_FALSE(input->PressedWithRepeat(code, kMenuDelay, kMenuRate)) << code;
        EXPECT_FALSE(input->PressedOrHeldFor(code, 0.0f)) << code;
    }
}

TEST_F(KeyInput, RepeatsAfterDelayPlusRateThenEveryRateAtAnyFrameRate)
{
    // Held for 1.04 s the key repeats at 0.30, 0.35, ... 1.00 s after the
    // press, each time on the first update that reaches the moment. No step
    // here lands an update on 0.25 s itself.
    for (float dt : {0.007f, 0.011f, 0.017f, 0.023f, 0.033f}) {
        const std::vector<double> times = RepeatTimes(dt, 1.04);
        ASSERT_EQ(times.size(), 15u) << "step " << dt;
        for (size_t i = 0; i < times.size(); ++i) {
            const double due = 0.30 + 0.05 * static_cast<double>(i);
            EXPECT_GE(times[i], due - 1e-4) << "step " << dt << ", repeat " << i;
            EXPECT_LT(times[i], due + dt + 1e-4) << "step " << dt << ", repeat " << i;
        }
    }
}

TEST_F(KeyInput, RepeatsAtTheDelayOnlyWhenAnUpdateFallsExactlyOnIt)
{
    struct Case {
        float dt;
        double firstRepeat;
    };
    for (const Case& c : std::initializer_list<Case>{{0.0625f, 0.25}, {0.07f, 0.35}}) {
        const std::vector<double> times = RepeatTimes(c.dt, 0.5);
        ASSERT_FALSE(times.empty()) << "step " << c.dt;
        EXPECT_NEAR(times.front(), c.firstRepeat, 1e-4) << "step " << c.dt;
    }
}

TEST_F(KeyInput, RepeatRateOfZeroRepeatsOnEveryUpdateAfterTheDelay)
{
    Keys({Down(kKeyDown)});
    Wait(0.3f);
    for (int32_t i = 0; i < 5; ++i) {
        Wait(kStep);
        EXPECT_TRUE(input->PressedWithRepeat(kKeyDown, kMenuDelay, 0.0f)) << i;
    }
}

TEST_F(KeyInput, OfTwoKeysGoingDownInOneUpdateTheFirstRepeats)
{
    Keys({Down(kKeyLeft), Down(kKeyRight)});
    int32_t leftRepeats = 0;
    int32_t rightRepeats = 0;
    for (int32_t i = 0; i < 100; ++i) {
        Wait(kStep);
        leftRepeats += input->PressedWithRepeat(kKeyLeft, kMenuDelay, kMenuRate) ? 1 : 0;
        rightRepeats += input->PressedWithRepeat(kKeyRight, kMenuDelay, kMenuRate) ? 1 : 0;
    }
    EXPECT_GT(leftRepeats, 0);
    EXPECT_EQ(rightRepeats, 0);
    EXPECT_TRUE(input->IsDown(kKeyRight));
}

TEST_F(KeyInput, AKeyGoingDownInAnUpdateOfNoTimeStillTakesOverTheRepeat)
{
    // A frame right after the timer was reset can be zero seconds long.
    Keys({Down(kKeyLeft)});
    Keys({Down(kKeyRight)}, 0.0f);
    EXPECT_GT(CountRepeats(kKeyRight, 0.5f), 0);
}

TEST_F(KeyInput, ReleasingTheRepeatingKeyStopsRepeatsUntilAKeyGoesDown)
{
    Keys({Down(kKeyLeft)});
    Wait(0.1f);
    Keys({Down(kKeyRight)});
    EXPECT_GT(CountRepeats(kKeyRight, 0.5f), 0);
    Keys({Up(kKeyRight)});
    EXPECT_EQ(CountRepeats(kKeyLeft, 1.0f), 0);
    EXPECT_TRUE(input->IsDown(kKeyLeft));

    Keys({Down(kKeyUp)});
    EXPECT_GT(CountRepeats(kKeyUp, 0.5f), 0);
}

TEST_F(KeyInput, PressedOrHeldForAnswersThePressThenEveryUpdateOnceHeldLongEnough)
{
    Keys({Down(kKeyUp)});
    EXPECT_TRUE(input->PressedOrHeldFor(kKeyUp, 0.4f));
    std::vector<bool> answers;
    for (int32_t i = 1; i <= 6; ++i) {
        Wait(0.1f, 0.1f);
        answers.push_back(input->PressedOrHeldFor(kKeyUp, 0.35f));
    }
    EXPECT_EQ(answers, (std::vector<bool>{false, false, false, true, true, true}));

    // Another key going down takes over; the first one is no longer asked for.
    Keys({Down(kKeyDown)});
    Wait(1.0f);
    EXPECT_FALSE(input->PressedOrHeldFor(kKeyUp, 0.35f));
    EXPECT_TRUE(input->PressedOrHeldFor(kKeyDown, 0.35f));
}

TEST_F(KeyInput, AKeyboardOutOfFocusKeepsItsKeysButALostOneReleasesThem)
{
    struct Case {
        DeviceRead read;
        bool stillHeld;
    };
    for (const Case& c : std::initializer_list<Case>{{DeviceRead::kNotAcquired, true}, {DeviceRead::kFailed, false}}) {
        devices->keyboardRead = DeviceRead::kRead;
        Keys({Down(kKeyUp)});
        devices->keyboardRead = c.read;
        Keys({Up(kKeyUp), Down(kKeyEnter)});
        EXPECT_EQ(input->IsDown(kKeyUp), c.stillHeld);
        EXPECT_FALSE(input->WasPressed(kKeyEnter));
        EXPECT_FALSE(input->WasReleased(kKeyUp));
        devices->keyboardRead = DeviceRead::kRead;
        Keys({Up(kKeyUp)});
    }
}

TEST_F(KeyInput, ScanCodesBeyondTheKeyboardAreIgnored)
{
    Keys({Down(kFirstMouseButtonCode), Down(-3), Down(kKeyEscape)});
    EXPECT_FALSE(input->IsDown(kFirstMouseButtonCode));
    EXPECT_TRUE(input->IsDown(kKeyEscape));
    // Ignored codes take no part in choosing the key that repeats.
    Wait(0.31f);
    EXPECT_TRUE(input->PressedWithRepeat(kKeyEscape, kMenuDelay, kMenuRate));
}

} // namespace
