#include "engine/input/InputCodes.h"

DecodedInputCode DecodeInputCode(int32_t code)
{
    if (code < 0) {
        return {};
    }
    if (code < kFirstMouseButtonCode) {
        return {InputCodeKind::kKey, 0, code};
    }
    if (code < kFirstMouseAxisCode) {
        return {InputCodeKind::kMouseButton, 0, code - kFirstMouseButtonCode};
    }
    if (code < kFirstControllerCode) {
        return {InputCodeKind::kMouseAxisHalf, 0, code - kFirstMouseAxisCode};
    }
    const int32_t controller = (code - kFirstControllerCode) / kCodesPerController;
    const int32_t subCode = (code - kFirstControllerCode) % kCodesPerController;
    if (subCode < kControllerButtonCount) {
        return {InputCodeKind::kControllerButton, controller, subCode};
    }
    return {InputCodeKind::kControllerAxisHalf, controller, subCode - kControllerButtonCount};
}

int32_t MouseButtonCode(int32_t button)
{
    return kFirstMouseButtonCode + button;
}

int32_t ControllerButtonCode(int32_t controller, int32_t button)
{
    return kFirstControllerCode + kCodesPerController * controller + button;
}

int32_t ControllerAxisHalfCode(int32_t controller, int32_t half)
{
    return ControllerButtonCode(controller, kControllerButtonCount + half);
}
