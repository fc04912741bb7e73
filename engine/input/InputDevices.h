#pragma once
// The platform side of the input system: it opens the keyboard, the mouse and
// the attached game controllers for a window and hands over what each
// reported since its last read. A failed read acquires the device again, so
// a device that lost its window comes back on its own. DirectInputDevices is
// the real one; tests play back a script through the same calls.

#include "engine/input/DeviceReports.h"

#include <cstdint>
#include <memory>

struct HWND__;

class ForceEffect;

class InputDevices {
public:
    virtual ~InputDevices() = default;

    // Opens what it can; devices that fail to open read as failed.
    virtual void Open(HWND__* window, bool fullScreen) = 0;
    virtual void Close() = 0;

    virtual DeviceRead ReadKeyboard(std::vector<ButtonEvent>& events) = 0;
    virtual DeviceRead ReadMouse(MouseReport& report) = 0;
    // The system cursor in screen pixels; false when it cannot be read.
    virtual bool ReadScreenCursor(int32_t& x, int32_t& y) = 0;

    // Controllers are numbered from 0 in the order they were attached at Open.
    virtual int32_t ControllerCount() const = 0;
    virtual bool ReadControllerValues(int32_t controller, ControllerValues& values) = 0;
    virtual DeviceRead ReadControllerButtons(int32_t controller, std::vector<ButtonEvent>& events) = 0;

    // The keyboard's own name of a key; false when it has none.
    virtual bool GetKeyName(int32_t key, WideString& name) = 0;
    virtual bool GetControllerInfo(int32_t controller, ControllerInfo& info) = 0;
    // The effects of an effect file, created on an existing controller.
    virtual std::unique_ptr<ForceEffect> CreateForceEffect(int32_t controller, const WideString& fileName) = 0;
};
