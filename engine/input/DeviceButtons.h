#pragma once
// The buttons of one device (the keyboard's keys, the mouse's or a
// controller's buttons) as the last update left them: which are held, which
// went down or up during that update, and which went down last and for how
// long it has been held, which is what key repeat runs on. Each device repeats
// on its own: a held controller button keeps repeating while keys come and go.

#include "engine/input/DeviceReports.h"

#include <cstdint>
#include <vector>

class DeviceButtons {
public:
    explicit DeviceButtons(int32_t buttonCount);

    // One update's events, in the order they happened, dt seconds after the
    // last update. Buttons the device does not have are ignored.
    void Apply(const std::vector<ButtonEvent>& events, float dt);
    // Forgets this update's events but keeps what is held.
    void DropEvents();
    // Nothing held, no events.
    void ReleaseAll();

    bool IsDown(int32_t button) const;
    bool WasPressed(int32_t button) const;
    bool WasReleased(int32_t button) const;
    // True on the press, then once delay + rate after it, then once every
    // rate; the time over each repeat is carried, so the rhythm does not
    // depend on the frame rate.
    bool PressedWithRepeat(int32_t button, float delay, float rate);
    // True on the press, and on every update once it has been held for the
    // given time as the device's last pressed button.
    bool PressedOrHeldFor(int32_t button, float seconds) const;

private:
    bool HasEvent(int32_t button, bool down) const;
    bool IsHeldAsLast(int32_t button) const;

    std::vector<uint8_t> held_;
    std::vector<ButtonEvent> events_;
    int32_t lastButton_ = -1;   // went down last and is still held; -1 for none
    float holdTime_ = 0.0f;     // seconds since lastButton_ went down
};
