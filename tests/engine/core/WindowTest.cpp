#include "engine/core/WindowMessageHandler.h"
#include "engine/core/dcWindow.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(dcWindow, CentresTheMenuWindowOrFillsTheScreen)
{
    struct Case {
        int32_t desktopRight;
        int32_t desktopBottom;
        bool fullScreen;
        WindowRect rect;
    };
    for (const Case& c : std::initializer_list<Case>{
             {1024, 768, false, {112, 84, 912, 684}},
             {799, 600, false, {0, 0, 800, 600}},       // (799 - 800) / 2 truncates to 0
             {700, 500, false, {-50, -50, 750, 550}},
             {1920, 1080, true, {0, 0, 800, 600}}}) {
        const WindowRect rect = EngineWindowRect(c.desktopRight, c.desktopBottom, c.fullScreen);
        EXPECT_EQ(rect.left, c.rect.left) << c.desktopRight;
        EXPECT_EQ(rect.top, c.rect.top) << c.desktopRight;
        EXPECT_EQ(rect.right, c.rect.right) << c.desktopRight;
        EXPECT_EQ(rect.bottom, c.rect.bottom) << c.desktopRight;
    }
}

// The frame goes around the client area, whatever the system's frame and
// caption measure: the game draws into exactly the size it asked for.
TEST(dcWindow, ClientAreaHasTheRequestedSize)
{
    struct Case {
        const char* what;
        WindowRect client;
        bool fullScreen;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"centred on a 1024 x 768 desktop", EngineWindowRect(1024, 768, false), false},
             {"in the desktop's corner", {0, 0, 800, 600}, false},
             {"partly left of and above the desktop", EngineWindowRect(700, 500, false), false},
             {"smaller than the menus", {40, 30, 360, 270}, false},
             {"full screen", EngineWindowRect(1920, 1080, true), true}}) {
        dcWindow window(L"Varnholt test", c.client, c.fullScreen);
        ASSERT_NE(window.GetHandle(), nullptr) << c.what;
        RECT client{};
        ASSERT_TRUE(GetClientRect(window.GetHandle(), &client)) << c.what;
        EXPECT_EQ(client.right, c.client.right - c.client.left) << c.what;
        EXPECT_EQ(client.bottom, c.client.bottom - c.client.top) << c.what;
        EXPECT_EQ(window.GetClientWidth(), client.right) << c.what;
        EXPECT_EQ(window.GetClientHeight(), client.bottom) << c.what;
        DestroyWindow(window.GetHandle());
    }
}

TEST(dcWindow, ACentredWindowHasItsClientAreaWhereItWasAskedFor)
{
    const WindowRect centred = EngineWindowRect(1024, 768, false);
    dcWindow window(L"Varnholt test", centred, false);
    ASSERT_NE(window.GetHandle(), nullptr);
    POINT origin{0, 0};
    ClientToScreen(window.GetHandle(), &origin);
    EXPECT_EQ(origin.x, centred.left);
    EXPECT_EQ(origin.y, centred.top);
    DestroyWindow(window.GetHandle());
}

namespace {

class RecordingHandler : public WindowMessageHandler {
public:
    RecordingHandler() : WindowMessageHandler({WM_USER + 1, WM_CLOSE}) {}
    intptr_t Handle(dcWindow&, uint32_t message, uintptr_t, intptr_t) override
    {
        messages.push_back(message);
        return 42;
    }
    std::vector<uint32_t> messages;
};

} // namespace

TEST(dcWindow, HandlersHearMessagesOnlyWhileTheWindowIsPumped)
{
    dcWindow window(L"Varnholt test", EngineWindowRect(1024, 768, false), false);
    ASSERT_NE(window.GetHandle(), nullptr);

    RecordingHandler handler;
    AddWindowMessageHandler(&handler);
    // Sent outside the pump: nobody holds the window lock, so no handler sees it.
    EXPECT_EQ(SendMessageW(window.GetHandle(), WM_USER + 1, 0, 0), 0);
    EXPECT_TRUE(handler.messages.empty());

    PostMessageW(window.GetHandle(), WM_USER + 1, 0, 0);
    PostMessageW(window.GetHandle(), WM_CLOSE, 0, 0);
    window.PumpMessages();
    EXPECT_EQ(handler.messages, (std::vector<uint32_t>{WM_USER + 1, WM_CLOSE}));
    RemoveWindowMessageHandler(&handler);

    window.SetClientSize(800, 600);
    window.SetPosition(-20, 10);
    EXPECT_EQ(window.GetRight(), 780);
    EXPECT_EQ(window.GetBottom(), 610);
}
