#pragma once
// Texture formats as the game names them, the description a texture is made
// from, and how a level of pixels is laid out in memory. The numbers are
// stored in files and passed between modules: never renumber them.

#include <cstdint>

enum TextureFormat : int32_t {
    kTextureArgb32 = 0,
    kTextureXrgb32 = 1,
    kTextureRgb24 = 2,
    kTextureA8 = 3,
    kTextureDxt1 = 4,
    kTextureDxt3 = 5,
    kTextureDxt5 = 6,
    kTextureR32F = 7,
    kTextureRgba16F = 8,   // A16B16G16R16F
    kTextureRgba32F = 9,   // A32B32G32R32F
    kTextureD32 = 10,
    kTextureD24S8 = 11,
    kTextureD16 = 12,
    kTextureOther = 13,    // what a Direct3D format without a name of ours maps back to
};

enum TextureKind : int32_t {
    kTextureKind2D = 0,
    kTextureKindCube = 1,
    kTextureKindVolume = 2,
    kTextureKindCubeFace = 3,
    kTextureKindVolumeSlice = 4,
    kTextureKindRenderSurface = 5,
    kTextureKindFrames = -1,   // a list of frames; binds its current frame
};

struct TextureDesc {
    int32_t format;   // TextureFormat
    int32_t kind;     // 2D, cube or volume
    // The picture's size; for a cube the edge is the image width.
    int32_t imageWidth;
    int32_t imageHeight;
    // The size to allocate; for a volume the texture width is its depth.
    int32_t textureWidth;
    int32_t textureHeight;
    int32_t levels;
    bool dynamic;          // for a render surface: lockable
    bool renderTarget;
    bool autoMipmaps;
};

class TextureResource;

// A depth-stencil surface for drawing off screen.
struct DepthDesc {
    int32_t width;
    int32_t height;
    int32_t format;                  // TextureFormat asked for: D32, D24S8 or D16
    bool autoDiscard;                // contents may be thrown away after each present
    const TextureResource* colorTexture;   // the target it goes with; none: the back buffer
};

// Bits per pixel as the texture file reader counts source rows: for the
// block formats, bytes of a row of 4 x 4 blocks per pixel of width. 0 for
// formats no file holds.
int32_t TextureFormatBits(int32_t format);

// How one level of pixels lies in memory: rows of rowBytes each (for the
// block formats, rows of 4 x 4 blocks).
struct LevelLayout {
    int32_t rowBytes;
    int32_t rows;

    int32_t ByteCount() const { return rowBytes * rows; }
};

// The layout of a width x height level; {0, 0} for a format no file holds or
// a size that is not positive or too large to address.
LevelLayout TextureLevelLayout(int32_t format, int32_t width, int32_t height);
