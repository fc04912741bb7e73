#pragma once
// Colours as Direct3D takes them: one 32-bit word, alpha in the top byte,
// then red, green, blue.

#include "engine/math/Color.h"

#include <cstdint>

// Each component is scaled by 255 and truncated; one outside 0 to 1 is held
// at the nearer end rather than wrapping round into an unrelated shade.
uint32_t PackColor(const Color& color);
