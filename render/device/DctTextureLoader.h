#pragma once
// The game's texture files (".DCT", little-endian):
//   "DC2", int32 version 2, int32 frame count 1, float LOD bias, 4 bytes
//   unused, int32 image width and height, 4 bytes unused, a format code byte
//   (0 A8R8G8B8, 5 R8G8B8, 8 DXT1, 9 DXT3, 10 DXT5), int32 level count, int32
//   width and height of level 0; then per level an int32 byte count and the
//   level's rows back to back in Direct3D's byte order (for DXT, rows of
//   4 x 4 blocks), with the int32 width and height of the next level between
//   two levels.

#include "render/device/TextureLoader.h"

#include <cstdint>

class DctTextureLoader : public TextureLoader {
public:
    DctTextureLoader() : TextureLoader({L".DCT"}) {}

    std::unique_ptr<TextureResource> Decode(const WideString& path, VideoDevice& device) override;
};

// The TextureFormat of a file's format code; -1 for a code the game does not read.
int32_t DctTextureFormat(int32_t code);
