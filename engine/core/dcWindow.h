#pragma once
// The engine's one top-level window: 800 x 600 centred on the desktop, or a
// full-screen pop-up, of the class "dcEngine Application". Its messages reach
// the WindowMessageHandlers only while some code holds the window lock with a
// current window: creation, showing, the engine's pump, and the mission editor
// while it runs inside the game.

#include "engine/files/WideString.h"

#include <cstdint>

struct HWND__;

class dcWindow;

// The menus' screen size: the window's in a window, the front end's video mode.
constexpr int32_t kMenuWidth = 800;
constexpr int32_t kMenuHeight = 600;

// The body of the window procedure: routes messages to the handlers.
intptr_t WindowProcedureFor(HWND__* handle, uint32_t message, uintptr_t wParam, intptr_t lParam);

struct WindowRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

class dcWindow {
public:
    dcWindow(const WideString& title, WindowRect rect, bool fullScreen);
    ~dcWindow();
    dcWindow(const dcWindow&) = delete;
    dcWindow& operator=(const dcWindow&) = delete;

    void Show();
    void PumpMessages();
    // Brackets a foreign message loop that dispatches this window's messages.
    void LockForExternalLoop();
    void UnlockExternalLoop();

    HWND__* GetHandle() const { return handle_; }
    bool IsFullScreen() const { return fullScreen_; }
    int32_t GetClientWidth() const { return clientWidth_; }
    int32_t GetClientHeight() const { return clientHeight_; }
    int32_t GetX() const { return x_; }
    int32_t GetY() const { return y_; }
    int32_t GetRight() const { return x_ + clientWidth_; }
    int32_t GetBottom() const { return y_ + clientHeight_; }
    bool IsInFront() const;

    // Kept up to date by the engine's size and move handlers.
    void SetClientSize(int32_t width, int32_t height);
    void SetPosition(int32_t x, int32_t y);

    // The outer rectangle of a window whose client area is the given one.
    static WindowRect FrameRect(WindowRect client, bool fullScreen);

private:
    friend intptr_t WindowProcedureFor(HWND__* handle, uint32_t message, uintptr_t wParam, intptr_t lParam);

    int32_t clientWidth_ = 0;
    int32_t clientHeight_ = 0;
    int32_t x_ = 0;
    int32_t y_ = 0;
    bool fullScreen_;
    HWND__* handle_ = nullptr;
};

// The window centred on a desktop of the given size, or the full-screen one.
WindowRect EngineWindowRect(int32_t desktopRight, int32_t desktopBottom, bool fullScreen);
