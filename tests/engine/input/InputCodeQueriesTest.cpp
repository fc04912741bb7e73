#include "engine/input/InputCodeQueries.h"
#include "tests/engine/input/ScriptedInputFixture.h"

namespace {

constexpr int32_t kMouseLeftCode = 263;    // x, negative half
constexpr int32_t kMouseRightCode = 264;   // x, positive half
constexpr int32_t kMouseUpCode = 265;
constexpr int32_t kWheelCodes[] = {267, 268};

class InputCodeQueries : public ScriptedInput {
protected:
    void MoveMouse(int32_t x, int32_t y = 0, int32_t wheel = 0)
    {
        devices->mouse.x = x;
        devices->mouse.y = y;
        devices->mouse.wheel = wheel;
        input->Update(kStep);
    }
};

TEST_F(InputCodeQueries, MouseMovementGivesATenthOfItsUnitsInItsDirectionUpToOne)
{
    Open();
    struct Case {
        int32_t x;
        int32_t code;
        float value;
        bool down;
    };
    for (const Case& c : std::initializer_list<Case>{
             {-25, kMouseLeftCode, 1.0f, true},
             {-25, kMouseRightCode, 0.0f, false},
             {4, kMouseRightCode, 0.4f, false},
             {4, kMouseLeftCode, 0.0f, false},
             {5, kMouseRightCode, 0.5f, true},
             {-5, kMouseLeftCode, 0.5f, true},
             {0, kMouseLeftCode, 0.0f, false},
             {-7, kMouseUpCode, 0.0f, false}}) {
        MoveMouse(c.x);
        EXPECT_NEAR(GetInputCodeValue(*input, c.code), c.value, 1e-6f) << c.x << " code " << c.code;
        EXPECT_EQ(IsInputCodeDown(*input, c.code), c.down) << c.x << " code " << c.code;
        EXPECT_FALSE(IsInputCodePressed(*input, c.code)) << "movement never presses";
    }
    // The wheel counts negated, like the input system's movement record.
    MoveMouse(0, -3, 2);
    EXPECT_NEAR(GetInputCodeValue(*input, kMouseUpCode), 0.3f, 1e-6f);
    EXPECT_NEAR(GetInputCodeValue(*input, kWheelCodes[0]), 0.2f, 1e-6f);
    EXPECT_EQ(GetInputCodeValue(*input, kWheelCodes[1]), 0.0f);
}

TEST_F(InputCodeQueries, ControllerAxesGiveTheirPositionTowardTheirHalf)
{
    Attach(1);
    devices->controllers[0].values = {{-300, 800, 0}, {1000, -1000}};
    Open();
    Wait(kStep);
    struct Case {
        int32_t code;
        float value;
    };
    for (const Case& c : std::initializer_list<Case>{
             {ControllerAxisHalfCode(0, 0), 0.3f},   // x at -0.3
             {ControllerAxisHalfCode(0, 1), 0.0f},
             {ControllerAxisHalfCode(0, 2), 0.0f},   // y at 0.8
             {ControllerAxisHalfCode(0, 3), 0.8f},
             {ControllerAxisHalfCode(0, 5), 0.0f},
             // The halves after z stand for no axis, even where sliders are set.
             {ControllerAxisHalfCode(0, 6), 0.0f},
             {ControllerAxisHalfCode(0, 9), 0.0f},
             // A controller that is not connected.
             {ControllerAxisHalfCode(1, 0), 0.0f},
             {ControllerAxisHalfCode(7, 3), 0.0f},
             {ControllerButtonCode(0, 4), 0.0f}}) {
        EXPECT_NEAR(GetInputCodeValue(*input, c.code), c.value, 1e-6f) << c.code;
    }
}

TEST_F(InputCodeQueries, KeysAndButtonsAreHeldPressedAndReleasedAndTheUnboundCodeNever)
{
    Attach(1);
    Open();
    constexpr int32_t kSpace = 57;
    devices->keyEvents = {Down(kSpace)};
    devices->controllers[0].events = {Down(2)};
    input->Update(kStep);
    for (int32_t code : {kSpace, ControllerButtonCode(0, 2)}) {
        EXPECT_EQ(GetInputCodeValue(*input, code), 1.0f) << code;
        EXPECT_TRUE(IsInputCodeDown(*input, code)) << code;
        EXPECT_TRUE(IsInputCodePressed(*input, code)) << code;
        EXPECT_FALSE(IsInputCodeReleased(*input, code)) << code;
    }
    Keys({Up(kSpace)});
    EXPECT_EQ(GetInputCodeValue(*input, kSpace), 0.0f);
    EXPECT_TRUE(IsInputCodeReleased(*input, kSpace));

    EXPECT_EQ(GetInputCodeValue(*input, kNoInputCode), 0.0f);
    EXPECT_FALSE(IsInputCodeDown(*input, kNoInputCode));
    EXPECT_FALSE(IsInputCodePressed(*input, kNoInputCode));
    EXPECT_FALSE(IsInputCodeReleased(*input, kNoInputCode));
}

} // namespace
