#pragma once
// One attached game controller as the last update left it.

#include "engine/input/DeviceButtons.h"
#include "engine/input/InputCodes.h"

#include <array>

struct JoystickState {
    std::array<float, 3> axes{};      // x, y, z, each -1 to 1
    std::array<float, 2> sliders{};   // -1 to 1
    DeviceButtons buttons{kControllerButtonCount};
};
