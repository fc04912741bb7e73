#include "tests/engine/input/ScriptedInputFixture.h"

namespace {

class JoystickInput : public ScriptedInput {
protected:
    void SetUp() override
    {
        Attach(2);
        devices->controllers[0].values = {{1000, -500, 0}, {250, -1000}};
        devices->controllers[1].values = {{-1000, 0, 750}, {0, 0}};
        Open();
        Wait(kStep);
    }
};

TEST_F(JoystickInput, AxesAndSlidersReadFromMinusOneToOne)
{
    EXPECT_EQ(input->JoystickCount(), 2);
    EXPECT_EQ(input->GetJoystickAxes(0), (std::array<float, 3>{1.0f, -0.5f, 0.0f}));
    EXPECT_EQ(input->GetJoystickAxes(1), (std::array<float, 3>{-1.0f, 0.0f, 0.75f}));
    EXPECT_EQ(input->GetJoystickSlider(0, 0), 0.25f);
    EXPECT_EQ(input->GetJoystickSlider(0, 1), -1.0f);
}

TEST_F(JoystickInput, MissingControllersAndSlidersReadAsZero)
{
    for (int32_t controller : {-1, 2, 1000}) {
        EXPECT_EQ(input->GetJoystickAxes(controller), (std::array<float, 3>{})) << controller;
        EXPECT_EQ(input->GetJoystickSlider(controller, 0), 0.0f) << controller;
    }
    for (int32_t slider : {-1, 2, 99999}) {
        EXPECT_EQ(input->GetJoystickSlider(0, slider), 0.0f) << slider;
    }
}

TEST_F(JoystickInput, AnUnreadableStateCentresTheAxesButKeepsTheSliders)
{
    devices->controllers[0].valuesReadable = false;
    Wait(kStep);
    EXPECT_EQ(input->GetJoystickAxes(0), (std::array<float, 3>{}));
    EXPECT_EQ(input->GetJoystickSlider(0, 0), 0.25f);
}

TEST_F(JoystickInput, EachControllerHasItsOwnButtonCodes)
{
    Buttons(1, {Down(3)});
    EXPECT_TRUE(input->WasPressed(ControllerButtonCode(1, 3)));
    EXPECT_TRUE(input->IsDown(269 + 138 + 3));
    EXPECT_FALSE(input->IsDown(ControllerButtonCode(0, 3)));
    EXPECT_FALSE(input->IsDown(ControllerButtonCode(2, 3)));

    Buttons(1, {Up(3)});
    EXPECT_TRUE(input->WasReleased(ControllerButtonCode(1, 3)));
    EXPECT_FALSE(input->IsDown(ControllerButtonCode(1, 3)));
}

TEST_F(JoystickInput, AHeldButtonRepeatsOnItsControllersOwnClock)
{
    const int32_t fire = ControllerButtonCode(0, 2);
    Buttons(0, {Down(2)});
    ASSERT_TRUE(input->PressedWithRepeat(fire, kMenuDelay, kMenuRate));
    // Keys tapped meanwhile, and the other controller's button, change nothing for it.
    int32_t repeats = 0;
    for (int32_t tenth = 0; tenth < 10; ++tenth) {
        Keys({Down(kKeyUp + tenth % 2)});
        devices->controllers[1].events = {Down(tenth)};
        repeats += input->PressedWithRepeat(fire, kMenuDelay, kMenuRate) ? 1 : 0;
        repeats += CountRepeats(fire, 0.09f);
    }
    repeats += CountRepeats(fire, 0.04f);
    // From 0.30 to 1.00 s after the press: 15 repeats.
    EXPECT_EQ(repeats, 15);
    EXPECT_EQ(CountRepeats(ControllerButtonCode(1, 0), 0.5f), 0);
}

TEST_F(JoystickInput, ALostControllerReleasesItsButtons)
{
    Buttons(0, {Down(7)});
    devices->controllers[0].read = DeviceRead::kFailed;
    Buttons(0, {Up(7), Down(8)});
    EXPECT_FALSE(input->IsDown(ControllerButtonCode(0, 7)));
    EXPECT_FALSE(input->WasPressed(ControllerButtonCode(0, 8)));
    EXPECT_FALSE(input->WasReleased(ControllerButtonCode(0, 7)));
}

TEST_F(JoystickInput, InfoNamesTheControllerWithStableIds)
{
    ControllerInfo& info = devices->controllers[1].info;
    info.name = L"Wheel";
    for (uint8_t i = 0; i < 16; ++i) {
        info.productGuid[i] = i;
        info.instanceGuid[i] = static_cast<uint8_t>(0xA0 + i);
    }
    WideString name;
    int32_t productId = 0;
    int32_t instanceId = 0;
    ASSERT_TRUE(input->GetJoystickInfo(1, name, productId, instanceId));
    EXPECT_EQ(name, L"Wheel");
    EXPECT_EQ(productId, -61350507);
    EXPECT_EQ(instanceId, 1764784705);

    ASSERT_TRUE(input->GetJoystickInfo(0, name, productId, instanceId));
    EXPECT_EQ(productId, 16);   // an all-zero GUID leaves only the byte count
    EXPECT_FALSE(input->GetJoystickInfo(2, name, productId, instanceId));
    EXPECT_FALSE(input->GetJoystickInfo(-1, name, productId, instanceId));
}

TEST_F(JoystickInput, ForceEffectsOfMissingControllersStayStill)
{
    std::unique_ptr<ForceEffect> rumble = input->CreateForceEffect(1, L"Rumble.ffe");
    rumble->Start();
    EXPECT_TRUE(rumble->IsPlaying());
    for (int32_t controller : {-1, 2}) {
        std::unique_ptr<ForceEffect> none = input->CreateForceEffect(controller, L"Rumble.ffe");
        none->Start();
        EXPECT_FALSE(none->IsPlaying()) << controller;
    }
}

TEST_F(JoystickInput, ShutdownDetachesTheControllers)
{
    Buttons(0, {Down(1)});
    input->Shutdown();
    EXPECT_EQ(input->JoystickCount(), 0);
    EXPECT_FALSE(input->IsDown(ControllerButtonCode(0, 1)));
    EXPECT_EQ(input->GetJoystickAxes(0), (std::array<float, 3>{}));
}

} // namespace
