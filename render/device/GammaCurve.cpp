#include "render/device/GammaCurve.h"

#include <algorithm>

namespace {

constexpr int32_t kRampSize = 256;
constexpr int32_t kFullScale = 65535;

} // namespace

GammaCurve BuildGammaCurve(float brightness, float contrast)
{
    const int32_t base = static_cast<int32_t>(std::clamp(brightness, 0.0f, 1.0f) * kFullScale);
    const int32_t flat = static_cast<int32_t>(std::clamp(contrast, 0.0f, 0.5f) * kRampSize);
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
