#pragma once
// A device layer that plays back a script: what each device reports at its
// next read, where the system cursor stands, which controllers are attached
// when the input system opens its devices, and how each read goes.

#include "engine/input/ForceEffect.h"
#include "engine/input/InputDevices.h"

#include <map>
#include <utility>

struct ScriptedController {
    ControllerValues values;
    bool valuesReadable = true;
    std::vector<ButtonEvent> events;   // for the next read only
    DeviceRead read = DeviceRead::kRead;
    ControllerInfo info;
};

class ScriptedInputDevices : public InputDevices {
public:
    void Open(HWND__*, bool) override
    {
        open = true;
        ++openCount;
    }
    void Close() override { open = false; }

    DeviceRead ReadKeyboard(std::vector<ButtonEvent>& events) override
    {
        return Deliver(keyEvents, keyboardRead, events);
    }
    DeviceRead ReadMouse(MouseReport& report) override
    {
        MouseReport pending = std::exchange(mouse, {});
        if (mouseRead == DeviceRead::kRead) {
            report = std::move(pending);
        }
        return mouseRead;
    }
    bool ReadScreenCursor(int32_t& x, int32_t& y) override
    {
        x = screenX;
        y = screenY;
        return cursorReadable;
    }

    int32_t ControllerCount() const override { return open ? static_cast<int32_t>(controllers.size()) : 0; }
    bool ReadControllerValues(int32_t controller, ControllerValues& values) override
    {
        values = controllers.at(controller).values;
        return controllers.at(controller).valuesReadable;
    }
    DeviceRead ReadControllerButtons(int32_t controller, std::vector<ButtonEvent>& events) override
    {
        ScriptedController& scripted = controllers.at(controller);
        return Deliver(scripted.events, scripted.read, events);
    }

    bool GetKeyName(int32_t key, WideString& name) override
    {
        auto found = keyNames.find(key);
        if (found == keyNames.end()) {
            return false;
        }
        name = found->second;
        return true;
    }
    bool GetControllerInfo(int32_t controller, ControllerInfo& info) override
    {
        info = controllers.at(controller).info;
        return true;
    }
    std::unique_ptr<ForceEffect> CreateForceEffect(int32_t, const WideString&) override
    {
        return std::make_unique<ForceEffect>(std::vector<IDirectInputEffect*>{});
    }

    bool open = false;
    int32_t openCount = 0;
    std::vector<ButtonEvent> keyEvents;   // for the next read only
    DeviceRead keyboardRead = DeviceRead::kRead;
    MouseReport mouse;                    // for the next read only
    DeviceRead mouseRead = DeviceRead::kRead;
    int32_t screenX = 0;
    int32_t screenY = 0;
    bool cursorReadable = true;
    std::vector<ScriptedController> controllers;
    std::map<int32_t, WideString> keyNames;

private:
    // A read takes the pending events whether or not it succeeds: a failed
    // read loses what the device had buffered.
    static DeviceRead Deliver(std::vector<ButtonEvent>& pending, DeviceRead read, std::vector<ButtonEvent>& events)
    {
        std::vector<ButtonEvent> taken = std::exchange(pending, {});
        if (read == DeviceRead::kRead) {
            events = std::move(taken);
        }
        return read;
    }
};
