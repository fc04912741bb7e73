#pragma once
// How game code reads a control binding: each of its two codes turned into a
// press, a release, a held state or an analog value from 0 to 1, whatever
// device the code belongs to. Mouse movement and controller axes have values
// but never presses; -1, the unbound code, is never pressed and has value 0.

#include <cstdint>

class InputSystem;

bool IsInputCodePressed(const InputSystem& input, int32_t code);
bool IsInputCodeReleased(const InputSystem& input, int32_t code);
// 1 while a key or button is held. A mouse movement half gives a tenth of
// the movement this update in its direction, up to 1; a controller axis half
// the axis position in its direction. Every other code gives 0.
float GetInputCodeValue(const InputSystem& input, int32_t code);
// A value of at least one half: for the mouse, five device units of movement
// in one update.
bool IsInputCodeDown(const InputSystem& input, int32_t code);
