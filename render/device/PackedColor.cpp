#include "render/device/PackedColor.h"

namespace {

uint32_t ColorByte(float component)
{
    if (!(component > 0.0f)) {   // also NaN
        return 0;
    }
    if (component >= 1.0f) {
        return 255;
    }
    return static_cast<uint32_t>(component * 255.0f);
}

} // namespace

uint32_t PackColor(const Color& color)
{
    return ColorByte(color.a) << 24 | ColorByte(color.r) << 16 | ColorByte(color.g) << 8 | ColorByte(color.b);
}
