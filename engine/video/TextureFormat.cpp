#include "engine/video/TextureFormat.h"

namespace {

// Larger than any texture Direct3D 9 hardware can hold.
constexpr int32_t kLargestEdge = 16384;

constexpr int32_t kFormatBits[] = {32, 32, 24, 8, 16, 32, 32, 0, 0, 0, 0, 0, 0, 0};

bool IsBlockFormat(int32_t format)
{
    return format == kTextureDxt1 || format == kTextureDxt3 || format == kTextureDxt5;
}

} // namespace

int32_t TextureFormatBits(int32_t format)
{
    if (format < 0 || format > kTextureOther) {
        return 0;
    }
    return kFormatBits[format];
}

LevelLayout TextureLevelLayout(int32_t format, int32_t width, int32_t height)
{
    const int32_t bits = TextureFormatBits(format);
    if (bits == 0 || width <= 0 || height <= 0 || width > kLargestEdge || height > kLargestEdge) {
        return {0, 0};
    }
    if (IsBlockFormat(format)) {
        // A block covers 4 x 4 pixels, also at the edges of small levels, and
        // takes the row bytes of four pixels: 8 (DXT1) or 16.
        const int32_t blockBytes = bits * 4 / 8;
        return {(width + 3) / 4 * blockBytes, (height + 3) / 4};
    }
    return {width * bits / 8, height};
}
