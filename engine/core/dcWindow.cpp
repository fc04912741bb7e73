#include "engine/core/dcWindow.h"

#include "engine/core/CriticalSection.h"
#include "engine/core/LogHub.h"
#include "engine/core/WindowMessageHandler.h"

#include <windows.h>

#include <algorithm>

namespace {

constexpr wchar_t kWindowClassName[] = L"dcEngine Application";

int32_t windowCount = 0;
dcWindow* currentWindow = nullptr;

// The lock and the handler list are never destroyed: the engine, itself a
// static, may take its handlers off as it is destroyed at exit.
CriticalSection& WindowLock()
{
    static CriticalSection* const lock = new CriticalSection;
    return *lock;
}

std::vector<WindowMessageHandler*>& Handlers()
{
    static auto* const handlers = new std::vector<WindowMessageHandler*>;
    return *handlers;
}

// Makes a window current under the window lock for the length of a scope.
class CurrentWindowScope {
public:
    explicit CurrentWindowScope(dcWindow* window) : lock_(WindowLock()) { currentWindow = window; }
    ~CurrentWindowScope() { currentWindow = nullptr; }

private:
    CriticalSectionLock lock_;
};

// Swallowed so the game keeps the screen; the Alt key opens no system menu.
bool IsSwallowed(UINT message, WPARAM wParam)
{
    switch (message) {
    case WM_DESTROY:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_QUIT:
    case WM_ENTERSIZEMOVE:
        return true;
    case WM_SYSCOMMAND:
        return (wParam & 0xFFF0) == SC_KEYMENU;
    default:
        return false;
    }
}

LRESULT CALLBACK WindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    return WindowProcedureFor(handle, message, wParam, lParam);
}

void RegisterWindowClass()
{
    WNDCLASSW windowClass{};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszClassName = kWindowClassName;
    RegisterClassW(&windowClass);
    LogHub::PrintVerbose("dcWindow: Windowing system inited");
}

} // namespace

bool WindowMessageHandler::Takes(uint32_t message) const
{
    return std::find(messages_.begin(), messages_.end(), message) != messages_.end();
}

void AddWindowMessageHandler(WindowMessageHandler* handler)
{
    Handlers().push_back(handler);
}

void RemoveWindowMessageHandler(WindowMessageHandler* handler)
{
    auto& handlers = Handlers();
    auto found = std::find(handlers.begin(), handlers.end(), handler);
    if (found != handlers.end()) {
        handlers.erase(found);
    }
}

intptr_t WindowProcedureFor(HWND__* handle, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    dcWindow* window = currentWindow;
    if (!window) {
        return DefWindowProcW(handle, message, wParam, lParam);
    }
    if (!window->handle_) {
        window->handle_ = handle;   // messages sent while the window is being created
    }
    for (WindowMessageHandler* handler : std::vector<WindowMessageHandler*>(Handlers())) {
        if (handler->Takes(message)) {
            return handler->Handle(*window, message, wParam, lParam);
        }
    }
    if (IsSwallowed(message, wParam)) {
        return 0;
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

WindowRect dcWindow::FrameRect(WindowRect rect, bool fullScreen)
{
    if (fullScreen) {
        return rect;
    }
    // How far the system's frame and caption reach out from the client area
    // on each side: they differ between systems and themes.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    // A window at the desktop's left or top edge, or beyond it, grows only
    // to the right or down, so its frame stays on the desktop.
    if (rect.left > 0) {
        rect.left += frame.left;
        rect.right += frame.right;
    } else {
        rect.right += frame.right - frame.left;
    }
    if (rect.top > 0) {
        rect.top += frame.top;
        rect.bottom += frame.bottom;
    } else {
        rect.bottom += frame.bottom - frame.top;
    }
    return rect;
}

WindowRect EngineWindowRect(int32_t desktopRight, int32_t desktopBottom, bool fullScreen)
{
    if (fullScreen) {
        return {0, 0, kMenuWidth, kMenuHeight};
    }
    const int32_t left = (desktopRight - kMenuWidth) / 2;
    const int32_t top = (desktopBottom - kMenuHeight) / 2;
    return {left, top, left + kMenuWidth, top + kMenuHeight};
}

dcWindow::dcWindow(const WideString& title, WindowRect rect, bool fullScreen)
    : fullScreen_(fullScreen)
{
    if (windowCount++ == 0) {
        RegisterWindowClass();
    }
    const DWORD style = fullScreen ? WS_POPUP : WS_OVERLAPPEDWINDOW;
    const DWORD extendedStyle = fullScreen ? WS_EX_TOPMOST : 0;
    const WindowRect frame = FrameRect(rect, fullScreen);
    {
        CurrentWindowScope scope(this);
        handle_ = CreateWindowExW(extendedStyle, kWindowClassName, title.c_str(), style, frame.left, frame.top,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    }
    if (!handle_) {
        LogHub::PrintError("dcWindow: Cannot create the window");
        return;
    }
    RECT client;
    GetClientRect(handle_, &client);
    clientWidth_ = client.right;
    clientHeight_ = client.bottom;
    if (fullScreen) {
        ShowCursor(FALSE);
    }
}

dcWindow::~dcWindow()
{
    if (--windowCount == 0) {
        UnregisterClassW(kWindowClassName, GetModuleHandleW(nullptr));
    }
}

void dcWindow::Show()
{
    CurrentWindowScope scope(this);
    ShowWindow(handle_, SW_SHOW);
}

void dcWindow::PumpMessages()
{
    CurrentWindowScope scope(this);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void dcWindow::LockForExternalLoop()
{
    WindowLock().Enter();
    currentWindow = this;
}

void dcWindow::UnlockExternalLoop()
{
    currentWindow = nullptr;
    WindowLock().Leave();
}

bool dcWindow::IsInFront() const
{
    return handle_ && GetForegroundWindow() == handle_;
}

void dcWindow::SetClientSize(int32_t width, int32_t height)
{
    clientWidth_ = width;
    clientHeight_ = height;
}

void dcWindow::SetPosition(int32_t x, int32_t y)
{
    x_ = x;
    y_ = y;
}
