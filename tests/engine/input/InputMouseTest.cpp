#include "tests/engine/input/ScriptedInputFixture.h"

namespace {

constexpr int32_t kLeftButton = kFirstMouseButtonCode;

class MouseInput : public ScriptedInput {
protected:
    void MoveSystemCursor(int32_t screenX, int32_t screenY)
    {
        devices->screenX = screenX;
        devices->screenY = screenY;
        Wait(kStep);
    }

    void MoveMouse(int32_t x, int32_t y)
    {
        devices->mouse.x = x;
        devices->mouse.y = y;
        Wait(kStep);
    }

    void ExpectCursor(int32_t x, int32_t y)
    {
        EXPECT_EQ(input->CursorPosition().x, x);
        EXPECT_EQ(input->CursorPosition().y, y);
    }
};

TEST_F(MouseInput, InAWindowTheCursorIsTheSystemCursorInWindowPixels)
{
    Open();
    struct Case {
        int32_t screenX;
        int32_t screenY;
        int32_t x;
        int32_t y;
        bool inside;
    };
    // The client area spans 100 to 739 across and 50 to 529 down.
    for (const Case& c : std::initializer_list<Case>{
             {150, 80, 50, 30, true},
             {100, 50, 0, 0, true},
             {739, 529, 639, 479, true},
             {740, 300, 639, 250, false},
             {300, 530, 200, 479, false},
             {20, 10, 0, 0, false},
             {-5000, 99999, 0, 479, false}}) {
        MoveSystemCursor(c.screenX, c.screenY);
        EXPECT_EQ(input->CursorPosition().x, c.x) << c.screenX << "," << c.screenY;
        EXPECT_EQ(input->CursorPosition().y, c.y) << c.screenX << "," << c.screenY;
        EXPECT_EQ(input->IsCursorInside(), c.inside) << c.screenX << "," << c.screenY;
    }
}

TEST_F(MouseInput, LeavingTheWindowReleasesTheButtonsAndHidesClicks)
{
    Open();
    Clicks({Down(0)});
    EXPECT_TRUE(input->WasPressed(kLeftButton));
    ASSERT_TRUE(input->IsDown(kLeftButton));

    MoveSystemCursor(kWindowLeft - 1, kWindowTop + 10);
    EXPECT_FALSE(input->IsDown(kLeftButton));
    EXPECT_FALSE(input->WasReleased(kLeftButton));

    Clicks({Up(0), Down(1)});
    EXPECT_FALSE(input->WasReleased(kLeftButton));
    EXPECT_FALSE(input->WasPressed(kLeftButton + 1));
    EXPECT_FALSE(input->IsDown(kLeftButton + 1));

    MoveSystemCursor(kWindowLeft + 10, kWindowTop + 10);
    EXPECT_FALSE(input->IsDown(kLeftButton + 1));
    Clicks({Down(1)});
    EXPECT_TRUE(input->WasPressed(kLeftButton + 1));
}

TEST_F(MouseInput, InFullScreenTheCursorFollowsTheMouseWithinTheScreen)
{
    Open(true);
    devices->screenX = -100;   // the system cursor does not count in full screen
    input->SetCursorPosition(320, 240);
    MoveMouse(15, -20);
    ExpectCursor(335, 220);
    EXPECT_TRUE(input->IsCursorInside());

    MoveMouse(100000, -100000);
    ExpectCursor(639, 0);

    Clicks({Down(0)});
    EXPECT_TRUE(input->WasPressed(kLeftButton));

    input->SetCursorPosition(10, 12);
    Wait(kStep);
    ExpectCursor(10, 12);
}

TEST_F(MouseInput, InAWindowASetCursorLastsUntilTheNextUpdate)
{
    Open();
    MoveSystemCursor(kWindowLeft + 30, kWindowTop + 40);
    input->SetCursorPosition(500, 400);
    ExpectCursor(500, 400);
    Wait(kStep);
    ExpectCursor(30, 40);
}

TEST_F(MouseInput, MovementIsTheLastUpdatesSumWithTheWheelNegated)
{
    Open();
    devices->mouse = {3, -4, 120, {}};
    Wait(kStep);
    EXPECT_EQ(input->MouseMovement(), (std::array<float, 3>{3.0f, -4.0f, -120.0f}));
    Wait(kStep);
    EXPECT_EQ(input->MouseMovement(), (std::array<float, 3>{0.0f, 0.0f, 0.0f}));
}

TEST_F(MouseInput, ALostMouseReportsNothing)
{
    Open();
    Clicks({Down(2)});
    devices->mouseRead = DeviceRead::kFailed;
    devices->mouse = {40, 40, 0, {Down(3)}};
    Wait(kStep);
    EXPECT_FALSE(input->IsDown(kLeftButton + 2));
    EXPECT_FALSE(input->WasPressed(kLeftButton + 3));
    EXPECT_EQ(input->MouseMovement(), (std::array<float, 3>{0.0f, 0.0f, 0.0f}));
}

TEST_F(MouseInput, AMinimisedWindowKeepsTheCursorAtItsCorner)
{
    Open();
    window.SetClientSize(0, 0);
    MoveSystemCursor(kWindowLeft + 30, kWindowTop + 40);
    ExpectCursor(0, 0);
}

TEST_F(MouseInput, AnUnreadableSystemCursorLeavesTheCursorWhereItWas)
{
    Open();
    MoveSystemCursor(kWindowLeft + 30, kWindowTop + 40);
    devices->cursorReadable = false;
    MoveSystemCursor(kWindowLeft + 300, kWindowTop + 400);
    ExpectCursor(30, 40);
}

TEST_F(MouseInput, MouseButtonsRepeatOnTheirOwn)
{
    Open();
    Clicks({Down(0)});
    Keys({Down(kKeyUp)});
    Wait(0.31f);
    EXPECT_TRUE(input->PressedWithRepeat(kLeftButton, kMenuDelay, kMenuRate));
    EXPECT_TRUE(input->PressedWithRepeat(kKeyUp, kMenuDelay, kMenuRate));
}

} // namespace
