#pragma once
// The 17 control bindings of the player's actions, each two input codes with
// their display texts (the input system's names). One input drives at most
// one action: binding a code takes it away from every other binding first.

#include "engine/gui/OptionValue.h"
#include "engine/input/InputCodes.h"

#include <array>
#include <cstdint>

inline constexpr int32_t kBindingCount = 17;

struct BindingCodes {
    int32_t first;
    int32_t second;
};

// Arrows, then B or the third mouse button, Enter or keypad Enter, Space or
// left Alt, the Shifts, Caps Lock, the Ctrls, H, L, R, the first and second
// mouse buttons, keypad 0 and keypad 1 (keys by scan code).
inline constexpr std::array<BindingCodes, kBindingCount> kDefaultBindingCodes{{
    {kKeyUp, kNoInputCode},
    {kKeyDown, kNoInputCode},
    {kKeyLeft, kNoInputCode},
    {kKeyRight, kNoInputCode},
    {48, kFirstMouseButtonCode + 2},
    {kKeyEnter, kKeyPadEnter},
    {57, 56},
    {42, 54},
    {58, kNoInputCode},
    {29, 157},
    {35, kNoInputCode},
    {38, kNoInputCode},
    {19, kNoInputCode},
    {kFirstMouseButtonCode, kNoInputCode},
    {kFirstMouseButtonCode + 1, kNoInputCode},
    {82, kNoInputCode},
    {79, kNoInputCode},
}};

// Both codes with the input system's names for them, as they are: no other
// binding loses its code.
void StoreBindingCodes(ControlBinding& binding, BindingCodes codes);
// Every column of every binding that holds the code is unbound.
void ClearBindingCode(int32_t code);
