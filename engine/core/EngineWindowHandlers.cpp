#include "engine/core/EngineWindowHandlers.h"

#include "engine/core/WindowMessageHandler.h"
#include "engine/core/dcEngine.h"
#include "engine/core/dcWindow.h"
#include "engine/input/InputSystem.h"
#include "engine/video/VideoDevice.h"

#include <windows.h>

namespace {

// Characters that never reach text input: tab, line ends, Escape, and the
// keys that open the console.
bool IsDroppedCharacter(uintptr_t c)
{
    return c == 9 || c == 10 || c == 13 || c == 27 || c == 96 || c == 126;
}

class CharacterHandler : public WindowMessageHandler {
public:
    explicit CharacterHandler(dcEngine& engine) : WindowMessageHandler({WM_CHAR}), engine_(engine) {}
    intptr_t Handle(dcWindow&, uint32_t, uintptr_t wParam, intptr_t) override
    {
        if (!IsDroppedCharacter(wParam) && engine_.GetInputSystem()) {
            engine_.GetInputSystem()->OnChar(static_cast<wchar_t>(wParam));
        }
        return 0;
    }

private:
    dcEngine& engine_;
};

class SizeHandler : public WindowMessageHandler {
public:
    explicit SizeHandler(dcEngine& engine) : WindowMessageHandler({WM_SIZE}), engine_(engine) {}
    intptr_t Handle(dcWindow& window, uint32_t, uintptr_t, intptr_t) override
    {
        if (window.IsFullScreen()) {
            return 0;
        }
        RECT client;
        GetClientRect(window.GetHandle(), &client);
        window.SetClientSize(client.right, client.bottom);
        if (VideoDevice* video = engine_.GetVideoDevice()) {
            video->Create(nullptr, {client.right, client.bottom}, {});
        }
        return 0;
    }

private:
    dcEngine& engine_;
};

class MoveHandler : public WindowMessageHandler {
public:
    MoveHandler() : WindowMessageHandler({WM_MOVE}) {}
    intptr_t Handle(dcWindow& window, uint32_t, uintptr_t, intptr_t lParam) override
    {
        window.SetPosition(static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam)));
        return 0;
    }
};

class CloseHandler : public WindowMessageHandler {
public:
    explicit CloseHandler(dcEngine& engine) : WindowMessageHandler({WM_CLOSE}), engine_(engine) {}
    intptr_t Handle(dcWindow&, uint32_t, uintptr_t, intptr_t) override
    {
        engine_.Stop();   // the window stays until the program ends
        return 0;
    }

private:
    dcEngine& engine_;
};

} // namespace

std::vector<std::unique_ptr<WindowMessageHandler>> MakeEngineWindowHandlers(dcEngine& engine)
{
    std::vector<std::unique_ptr<WindowMessageHandler>> handlers;
    handlers.push_back(std::make_unique<CharacterHandler>(engine));
    handlers.push_back(std::make_unique<SizeHandler>(engine));
    handlers.push_back(std::make_unique<MoveHandler>());
    handlers.push_back(std::make_unique<CloseHandler>(engine));
    return handlers;
}
