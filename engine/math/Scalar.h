#pragma once
// The small scalar helpers the engine's maths and the game share.

#include <algorithm>

// a when a <= b, else b; an unordered comparison (a NaN) also gives b.
inline float MinFloat(float a, float b)
{
    return a <= b ? a : b;
}

// The larger of the two by reference; on a tie (or a NaN) the first, as
// std::max answers.
inline const float& MaxRef(const float& a, const float& b)
{
    return std::max(a, b);
}

// The low bound is tested first, so with lo > hi every v below lo gives lo.
inline float Clamp(float v, float lo, float hi)
{
    if (v < lo) {
        return lo;
    }
    if (v > hi) {
        return hi;
    }
    return v;
}

// -1, 0 or 1.
inline float FloatSign(float x)
{
    return x > 0.0f ? 1.0f : (x < 0.0f ? -1.0f : 0.0f);
}

inline float Clamp01(float v)
{
    return Clamp(v, 0.0f, 1.0f);
}

// Interpolation never leaves the segment from a to b.
inline float Lerp(float a, float b, float t)
{
    return a + (b - a) * Clamp01(t);
}
