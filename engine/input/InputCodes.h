#pragma once
// The one space of int32 input codes through which the engine sees the
// keyboard, the mouse and the game controllers. A control binding is just a
// code, so codes are stored in the settings file and must not change:
//
//   -1                  no code (an unbound binding)
//   0 to 254            keyboard keys by DirectInput scan code
//   255 to 262          mouse buttons 0 to 7
//   263 to 268          negative and positive halves of mouse x, y and the
//                       negated wheel; they have values only, never a held state
//   269 + 138 j + b     button b (0 to 127) of controller j
//   269 + 138 j + 128 + k
//                       axis half k (0 to 9) of controller j: k = 2 axis + half
//                       for the axes x, y, z, half 0 the negative one; k 6 to 9
//                       are named like k 2 to 5 but no axis stands behind them

#include <cstdint>

constexpr int32_t kNoInputCode = -1;

constexpr int32_t kKeyCount = 255;
constexpr int32_t kFirstMouseButtonCode = 255;
constexpr int32_t kMouseButtonCount = 8;
constexpr int32_t kFirstMouseAxisCode = 263;
constexpr int32_t kFirstControllerCode = 269;
constexpr int32_t kControllerButtonCount = 128;
constexpr int32_t kControllerAxisHalfCount = 10;
constexpr int32_t kCodesPerController = kControllerButtonCount + kControllerAxisHalfCount;

// Keys the engine and the menus ask for by name.
constexpr int32_t kKeyEscape = 1;
constexpr int32_t kKeyEnter = 28;
constexpr int32_t kKeyGrave = 41;   // left of the digit 1: opens the console
constexpr int32_t kKeyPadEnter = 156;
constexpr int32_t kKeyPrintScreen = 183;
constexpr int32_t kKeyUp = 200;
constexpr int32_t kKeyLeft = 203;
constexpr int32_t kKeyRight = 205;
constexpr int32_t kKeyDown = 208;
constexpr int32_t kKeyDelete = 211;

enum class InputCodeKind {
    kNone,
    kKey,
    kMouseButton,
    kMouseAxisHalf,
    kControllerButton,
    kControllerAxisHalf,
};

// A code taken apart. The index counts within its kind: the scan code, the
// mouse or controller button, or the axis half. Controller codes decode for
// any controller number; whether that controller exists is the caller's
// question.
struct DecodedInputCode {
    InputCodeKind kind = InputCodeKind::kNone;
    int32_t controller = 0;
    int32_t index = 0;
};

DecodedInputCode DecodeInputCode(int32_t code);

int32_t MouseButtonCode(int32_t button);
int32_t ControllerButtonCode(int32_t controller, int32_t button);
int32_t ControllerAxisHalfCode(int32_t controller, int32_t half);
