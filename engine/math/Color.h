#pragma once
// A colour as the game passes it around: four floats, nominally 0 to 1.

#include <cstdint>

struct Color {
    float r;
    float g;
    float b;
    float a;
};

inline constexpr Color kOpaqueWhite{1.0f, 1.0f, 1.0f, 1.0f};

// Each channel of one scaled by the same channel of the other: a tint.
inline Color MultiplyComponents(const Color& a, const Color& b)
{
    return {a.r * b.r, a.g * b.g, a.b * b.b, a.a * b.a};
}

// Red, green and blue from bytes 0 to 255; alpha is already a fraction.
inline Color ColorFromRgbBytes(int32_t r, int32_t g, int32_t b, float a)
{
    constexpr float kByteToUnit = 0.003921569f;   // 1 / 255
    return {r * kByteToUnit, g * kByteToUnit, b * kByteToUnit, a};
}
