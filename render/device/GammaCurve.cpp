#include "render/device/GammaCurve.h"

#include <algorithm>

namespace {

constexpr int32_t kRampSize = 256;
constexpr int32_t kFullScale = 65535;

// Held between 0 and high; a setting that is no number at all counts as 0.
float Limit(float value, float high)
{
    return value > 0.0f ? std::min(value, high) : 0.0f;
}

} // namespace

GammaCurve BuildGammaCurve(float brightness, float contrast)
{
    const int32_t base = static_cast<int32_t>(Limit(brightness, 1.0f) * kFullScale);
    const int32_t flat = static_cast<int32_t>(Limit(contrast, 0.5f) * kRampSize);
    const int32_t rising = kRampSize - 2 * flat;

    GammaCurve curve;
    std::fill(curve.begin(), curve.begin() + flat, static_cast<uint16_t>(base));
    for (int32_t k = 0; k < rising; ++k) {
        curve[flat + k] = static_cast<uint16_t>(std::min(base + k * 65536 / rising, kFullScale));
    }
    std::fill(curve.end() - flat, curve.end(), static_cast<uint16_t>(kFullScale));
    return curve;
}

GammaCurve IdentityGammaCurve()
{
    GammaCurve curve;
    for (int32_t k = 0; k < kRampSize; ++k) {
        curve[k] = static_cast<uint16_t>(k * 257);
    }
    return curve;
}
