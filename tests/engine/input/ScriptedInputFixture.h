#pragma once
// An input system on scripted devices, opened for a real, hidden window whose
// 640 x 480 client area stands at (100, 50) on the screen, with the system
// cursor inside it.

#include "engine/core/dcWindow.h"
#include "engine/files/LanguageTable.h"
#include "engine/input/InputCodes.h"
#include "engine/input/InputSystem.h"
#include "tests/engine/input/ScriptedInputDevices.h"

#include <gtest/gtest.h>

inline ButtonEvent Down(int32_t button)
{
    return {button, true};
}

inline ButtonEvent Up(int32_t button)
{
    return {button, false};
}

class ScriptedInput : public testing::Test {
protected:
    static constexpr float kStep = 0.01f;
    // The key repeat of the menus and the console.
    static constexpr float kMenuDelay = 0.25f;
    static constexpr float kMenuRate = 0.05f;
    static constexpr int32_t kWindowLeft = 100;
    static constexpr int32_t kWindowTop = 50;
    static constexpr int32_t kWindowWidth = 640;
    static constexpr int32_t kWindowHeight = 480;

    ScriptedInput() : window(L"Input test", {0, 0, kWindowWidth, kWindowHeight}, false)
    {
        window.SetPosition(kWindowLeft, kWindowTop);
        window.SetClientSize(kWindowWidth, kWindowHeight);
        auto scripted = std::make_unique<ScriptedInputDevices>();
        devices = scripted.get();
        devices->screenX = kWindowLeft + 200;
        devices->screenY = kWindowTop + 150;
        input = std::make_unique<InputSystem>(std::move(scripted), &language);
    }

    // Attaches controllers with nothing held; they count from the next Open.
    void Attach(int32_t controllers) { devices->controllers.resize(controllers); }
    void Open(bool fullScreen = false) { input->Init(window, fullScreen); }

    // One update in which these keys go down or up, in this order.
    void Keys(std::vector<ButtonEvent> events, float dt = kStep)
    {
        devices->keyEvents = std::move(events);
        input->Update(dt);
    }
    void Buttons(int32_t controller, std::vector<ButtonEvent> events, float dt = kStep)
    {
        devices->controllers.at(controller).events = std::move(events);
        input->Update(dt);
    }
    void Clicks(std::vector<ButtonEvent> events, float dt = kStep)
    {
        devices->mouse.buttons = std::move(events);
        input->Update(dt);
    }
    // Updates with nothing new for the given time.
    void Wait(float seconds, float dt = kStep)
    {
        for (float waited = 0.0f; waited + dt / 2 < seconds; waited += dt) {
            input->Update(dt);
        }
    }

    // How often the code repeats while updates run for the given time.
    int32_t CountRepeats(int32_t code, float seconds)
    {
        int32_t count = 0;
        for (float waited = 0.0f; waited + kStep / 2 < seconds; waited += kStep) {
            input->Update(kStep);
            count += input->PressedWithRepeat(code, kMenuDelay, kMenuRate) ? 1 : 0;
        }
        return count;
    }

    LanguageTable language;
    dcWindow window;
    ScriptedInputDevices* devices;
    std::unique_ptr<InputSystem> input;
};
