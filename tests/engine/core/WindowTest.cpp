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

TEST(dcWindow, FramesWidenTheClientRectangle)
{
    const WindowRect atOrigin = dcWindow::FrameRect({0, 0, 800, 600}, false);
    EXPECT_EQ(atOrigin.right - atOrigin.left, 808);
    EXPECT_EQ(atOrigin.bottom - atOrigin.top, 634);
    EXPECT_EQ(atOrigin.left, 0);
    const WindowRect centred = dcWindow::FrameRect({112, 84, 912, 684}, false);
    EXPECT_EQ(centred.left, 108);
    EXPECT_EQ(centred.top, 67);
    const WindowRect full = dcWindow::FrameRect({0, 0, 800, 600}, true);
    EXPECT_EQ(full.right, 800);
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
    EXPECT_GT(window.GetClientWidth(), 0);   // the frame's metrics are the system's
    EXPECT_GT(window.GetClientHeight(), 0);

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
