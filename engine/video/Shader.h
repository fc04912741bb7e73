#pragma once
// What the device asks of the effect that is current when it draws: one
// draw per fragment of the pass, each fragment applied (programs, constants
// and render states) before its draw. The shader system's effects implement it.

#include <cstdint>

class Shader {
public:
    virtual ~Shader() = default;

    // The row of the style with this key; -2 for key 0, which stands for the
    // current style; -1 when there is no such style.
    virtual int32_t FindStyle(int32_t styleKey) const = 0;
    // Chooses and validates a technique for the row when it has none yet;
    // false when none can draw.
    virtual bool Validate(int32_t passKey, int32_t styleRow) = 0;
    // 0 when the row cannot draw.
    virtual int32_t GetFragmentCount(int32_t passKey, int32_t styleRow) = 0;
    // The device draws after every call, whatever it returns.
    virtual bool ApplyFragment(int32_t passKey, int32_t fragment, int32_t styleRow) = 0;
};
