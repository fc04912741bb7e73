#include "tests/engine/input/ScriptedInputFixture.h"

namespace {

class InputLifecycle : public ScriptedInput {};

TEST_F(InputLifecycle, BeforeInitNothingIsHeldAndUpdatesAreHarmless)
{
    devices->keyboardRead = DeviceRead::kFailed;
    devices->mouseRead = DeviceRead::kFailed;
    input->Update(kStep);
    EXPECT_FALSE(input->IsDown(kKeyEscape));
    EXPECT_FALSE(input->WasPressed(kFirstMouseButtonCode));
    EXPECT_EQ(input->JoystickCount(), 0);
    EXPECT_EQ(input->MouseMovement(), (std::array<float, 3>{}));
}

TEST_F(InputLifecycle, InitAgainStartsFromNothingHeld)
{
    Open();
    Keys({Down(kKeyEnter)});
    Clicks({Down(0)});
    Open();
    EXPECT_EQ(devices->openCount, 2);
    EXPECT_TRUE(devices->open);
    EXPECT_FALSE(input->IsDown(kKeyEnter));
    EXPECT_FALSE(input->WasPressed(kKeyEnter));
    EXPECT_FALSE(input->IsDown(kFirstMouseButtonCode));
}

TEST_F(InputLifecycle, WithoutDevicesNothingIsHeldAndNothingMoves)
{
    Attach(1);
    Open();
    devices->keyboardRead = DeviceRead::kFailed;
    devices->mouseRead = DeviceRead::kFailed;
    devices->controllers[0].read = DeviceRead::kFailed;
    devices->controllers[0].valuesReadable = false;
    devices->mouse = {5, 5, 5, {Down(0)}};
    Keys({Down(kKeyEscape)});
    EXPECT_FALSE(input->IsDown(kKeyEscape));
    EXPECT_FALSE(input->WasPressed(kKeyEscape));
    EXPECT_FALSE(input->WasPressed(kFirstMouseButtonCode));
    EXPECT_EQ(input->MouseMovement(), (std::array<float, 3>{}));
    EXPECT_EQ(input->GetJoystickAxes(0), (std::array<float, 3>{}));
}

} // namespace
