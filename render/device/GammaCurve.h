#pragma once
// The gamma ramp the options screen's brightness and contrast make: the same
// curve for red, green and blue, 256 entries of 0 to 65535.

#include <array>
#include <cstdint>

using GammaCurve = std::array<uint16_t, 256>;

// Brightness lifts the whole curve; contrast flattens both ends, the bottom
// to the brightness level and the top to full intensity, and steepens the
// middle. Brightness outside 0 to 1 is held at the nearer end, and contrast
// stops where the flat ends would meet (0.5), so the curve always rises and
// no entry leaves 0 to 65535; a setting that is not a number counts as 0.
GammaCurve BuildGammaCurve(float brightness, float contrast);

// Full scale 0 to 65535 spread evenly: what the display shows untouched.
GammaCurve IdentityGammaCurve();
