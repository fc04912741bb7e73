#include "engine/input/InputCodeQueries.h"

#include "engine/input/InputCodes.h"
#include "engine/input/InputSystem.h"

#include <algorithm>

namespace {

constexpr float kMouseValuePerUnit = 0.1f;
constexpr int32_t kControllerAxes = 3;   // x, y and z: the halves after them stand for nothing
constexpr float kDownValue = 0.5f;

// Even halves are the negative direction of their axis, odd ones the positive.
float HalfValue(float axis, int32_t half)
{
    const float toward = half % 2 == 0 ? -axis : axis;
    return std::max(toward, 0.0f);
}

} // namespace

bool IsInputCodePressed(const InputSystem& input, int32_t code)
{
    return code != kNoInputCode && input.WasPressed(code);
}

bool IsInputCodeReleased(const InputSystem& input, int32_t code)
{
    return code != kNoInputCode && input.WasReleased(code);
}

float GetInputCodeValue(const InputSystem& input, int32_t code)
{
    if (code == kNoInputCode) {
        return 0.0f;
    }
    if (input.IsDown(code)) {
        return 1.0f;
    }
    const DecodedInputCode decoded = DecodeInputCode(code);
    switch (decoded.kind) {
    case InputCodeKind::kMouseAxisHalf: {
        const float movement = input.MouseMovement()[decoded.index / 2] * kMouseValuePerUnit;
        return HalfValue(std::clamp(movement, -1.0f, 1.0f), decoded.index);
    }
    case InputCodeKind::kControllerAxisHalf:
        if (decoded.controller >= input.JoystickCount() || decoded.index >= 2 * kControllerAxes) {
            return 0.0f;
        }
        return HalfValue(input.GetJoystickAxes(decoded.controller)[decoded.index / 2], decoded.index);
    default:
        return 0.0f;
    }
}

bool IsInputCodeDown(const InputSystem& input, int32_t code)
{
    return GetInputCodeValue(input, code) >= kDownValue;
}
