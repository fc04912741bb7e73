#pragma once
// The input devices on DirectInput 8: the system keyboard and mouse and every
// attached game controller, read from their event buffers. The keyboard never
// takes the Windows key from the desktop; the mouse is the game's alone in
// full screen. Log lines go out at the verbose level.

#include "engine/input/InputDevices.h"

#include <vector>

struct IDirectInput8W;
struct IDirectInputDevice8W;

class DirectInputDevices : public InputDevices {
public:
    DirectInputDevices() = default;
    ~DirectInputDevices() override;
    DirectInputDevices(const DirectInputDevices&) = delete;
    DirectInputDevices& operator=(const DirectInputDevices&) = delete;

    void Open(HWND__* window, bool fullScreen) override;
    void Close() override;

    DeviceRead ReadKeyboard(std::vector<ButtonEvent>& events) override;
    DeviceRead ReadMouse(MouseReport& report) override;
    bool ReadScreenCursor(int32_t& x, int32_t& y) override;

    int32_t ControllerCount() const override;
    bool ReadControllerValues(int32_t controller, ControllerValues& values) override;
    DeviceRead ReadControllerButtons(int32_t controller, std::vector<ButtonEvent>& events) override;

    bool GetKeyName(int32_t key, WideString& name) override;
    bool GetControllerInfo(int32_t controller, ControllerInfo& info) override;
    std::unique_ptr<ForceEffect> CreateForceEffect(int32_t controller, const WideString& fileName) override;

private:
    bool CreateDirectInput();
    bool OpenKeyboard(HWND__* window);
    bool OpenMouse(HWND__* window, bool fullScreen);
    void OpenControllers(HWND__* window);
    void SetUpController(int32_t controller, HWND__* window);
    bool HasController(int32_t controller) const;

    IDirectInput8W* directInput_ = nullptr;
    IDirectInputDevice8W* keyboard_ = nullptr;
    IDirectInputDevice8W* mouse_ = nullptr;
    std::vector<IDirectInputDevice8W*> controllers_;
};
