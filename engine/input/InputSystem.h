#pragma once
// The keyboard, the mouse and every attached game controller, seen as one
// space of input codes (InputCodes.h): per code whether it is held, whether
// it went down or up during the last update and whether a held code should
// repeat; the mouse movement and a cursor in window pixels; the controller
// axes; the names of codes for the controls page. Typed characters go to the
// front one of a stack of text receivers. Between two updates every query
// answers from the same state. Main thread only: the window's character
// messages arrive on it too.

#include "engine/files/WideString.h"
#include "engine/input/DeviceButtons.h"
#include "engine/input/ForceEffect.h"
#include "engine/input/InputDevices.h"
#include "engine/input/JoystickState.h"
#include "engine/input/TextReceiver.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class dcWindow;
class LanguageTable;

struct CursorPoint {
    int32_t x = 0;
    int32_t y = 0;
};

class InputSystem {
public:
    // The language gives the names of codes; it outlives the input system.
    InputSystem(std::unique_ptr<InputDevices> devices, LanguageTable* language);
    virtual ~InputSystem();
    InputSystem(const InputSystem&) = delete;
    InputSystem& operator=(const InputSystem&) = delete;

    // Opens the devices for the window, which must outlive the input system
    // or its Shutdown. Again after Init: shuts down first.
    virtual void Init(dcWindow& window, bool fullScreen);
    // Reads the keyboard, then the mouse, then each controller; dt in seconds
    // since the last update.
    virtual void Update(float dt);

    // Buttons and keys only; false for axis halves, controllers that do not
    // exist and -1. Both a press and a release can fall into one update.
    virtual bool WasReleased(int32_t code) const;
    virtual bool IsDown(int32_t code) const;
    virtual bool WasPressed(int32_t code) const;
    // True on the press, then once delay + rate later, then once every rate,
    // while the code stays its device's last pressed one. The menus and the
    // console use 0.25 and 0.05 seconds.
    virtual bool PressedWithRepeat(int32_t code, float delay, float rate);
    // True on the press, and on every update once the code has been held for
    // the given time as its device's last pressed one.
    virtual bool PressedOrHeldFor(int32_t code, float seconds) const;
    // The code's name for display, from the language texts.
    virtual WideString GetCodeName(int32_t code) const;

    // The receiver becomes the front one; it stays its owner's.
    virtual void PushTextReceiver(TextReceiver& receiver);
    // Removes its front-most entry.
    virtual void RemoveTextReceiver(TextReceiver& receiver);

    // x, y and the negated wheel, summed over the last update in device units.
    virtual std::array<float, 3> MouseMovement() const;
    virtual CursorPoint CursorPosition() const;
    // Lasts in full screen; in a window the next update follows the system cursor again.
    virtual void SetCursorPosition(int32_t x, int32_t y);

    virtual int32_t JoystickCount() const;
    // An effect bound to no controller when the number is out of range.
    virtual std::unique_ptr<ForceEffect> CreateForceEffect(int32_t controller, const WideString& effectFile);
    // The ids are the CRCs of the product and instance GUIDs, stable across
    // runs, so settings can recognise a controller. False for a controller
    // that does not exist or cannot be asked.
    virtual bool GetJoystickInfo(int32_t controller, WideString& name, int32_t& productId, int32_t& instanceId);
    // x, y and z, each -1 to 1; zeros for a controller that does not exist.
    virtual std::array<float, 3> GetJoystickAxes(int32_t controller) const;
    // -1 to 1; 0 for a controller or slider that does not exist.
    virtual float GetJoystickSlider(int32_t controller, int32_t slider) const;

    // A typed character, from the window's character messages.
    void OnChar(wchar_t character);

    // Closes the devices and forgets the window; nothing held, no text receivers.
    void Shutdown();

    // Whether the system cursor lies in the window (always in full screen).
    bool IsCursorInside() const { return inside_; }

private:
    void UpdateKeyboard(float dt);
    void UpdateMouse(float dt);
    void UpdateCursor();
    void UpdateJoystick(int32_t controller, float dt);

    // The buttons a key or button code belongs to, with its button number;
    // nullptr for every other code.
    const DeviceButtons* FindButtons(int32_t code, int32_t& button) const;
    DeviceButtons* FindButtons(int32_t code, int32_t& button);
    bool HasJoystick(int32_t controller) const;
    const WideString& Text(int32_t key) const;

    std::unique_ptr<InputDevices> devices_;
    LanguageTable* language_;
    dcWindow* window_ = nullptr;   // set while the devices are open
    bool fullScreen_ = false;
    bool inside_ = true;

    DeviceButtons keys_{kKeyCount};
    DeviceButtons mouseButtons_{kMouseButtonCount};
    std::array<float, 3> mouseMovement_{};
    CursorPoint cursor_;
    std::vector<JoystickState> joysticks_;
    std::vector<TextReceiver*> textReceivers_;   // front first
};

// The input system on DirectInput 8.
std::unique_ptr<InputSystem> CreateInputSystem(LanguageTable* language);
