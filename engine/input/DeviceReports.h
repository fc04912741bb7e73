#pragma once
// What the input devices hand over at each read, in the device's own units,
// before the input system turns it into held states and input codes.

#include "engine/files/WideString.h"

#include <array>
#include <cstdint>
#include <vector>

// How a read of a device went. A device that is merely not acquired (its
// window is not in front) still knows which keys were held; any other failure
// (the device was lost or never opened) knows nothing.
enum class DeviceRead {
    kRead,
    kNotAcquired,
    kFailed,
};

// A key or button going down or up, in the order the device reported it.
// The button is the key's scan code or the button number.
struct ButtonEvent {
    int32_t button = 0;
    bool down = false;
};

// The mouse since its last read: the sums of its movement steps in device
// units (the wheel as the device counts it) and its button events.
struct MouseReport {
    int32_t x = 0;
    int32_t y = 0;
    int32_t wheel = 0;
    std::vector<ButtonEvent> buttons;
};

// Every controller axis and slider is set to this range, both signs.
constexpr int32_t kControllerAxisRange = 1000;

// A controller's current values, from -kControllerAxisRange to kControllerAxisRange.
struct ControllerValues {
    std::array<int32_t, 3> axes{};      // x, y, z
    std::array<int32_t, 2> sliders{};
};

// What identifies a controller: the name it was attached under and the bytes
// of its product and instance GUIDs.
struct ControllerInfo {
    WideString name;
    std::array<uint8_t, 16> productGuid{};
    std::array<uint8_t, 16> instanceGuid{};
};
