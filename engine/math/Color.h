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

inline constexpr float kByteToUnit = 0.003921569f;   // 1 / 255

// Red, green and blue from bytes 0 to 255; alpha is already a fraction.
inline Color ColorFromRgbBytes(int32_t r, int32_t g, int32_t b, float a)
{
    return {r * kByteToUnit, g * kByteToUnit, b * kByteToUnit, a};
}

// All four channels from bytes 0 to 255.
inline Color ColorFromBytes(int32_t r, int32_t g, int32_t b, int32_t a)
{
    return ColorFromRgbBytes(r, g, b, a * kByteToUnit);
}
