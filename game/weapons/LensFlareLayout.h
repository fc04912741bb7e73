#pragma once
// Where the sprites of the sun's lens flare go on the screen: on the line
// from the sun's point through the screen's centre, in whole-pixel steps.

#include "engine/math/Vec2.h"

#include <array>
#include <cstdint>

inline constexpr int32_t kLensFlareElements = 5;

// sun: the sun's projected point in pixels; width and height: the screen's.
// In order: the sun, halfway to the centre, the centre, as far again beyond
// it, and the sun's point mirrored through the centre.
std::array<Vec2, kLensFlareElements> LensFlarePositions(Vec2 sun, int32_t width, int32_t height);
