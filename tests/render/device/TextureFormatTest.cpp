#include "engine/video/TextureFormat.h"
#include "render/device/DctTextureLoader.h"
#include "render/device/Direct3DFormats.h"
#include "render/device/Texture2D.h"

#include <gtest/gtest.h>

#include <initializer_list>

TEST(TextureFormat, MapsToDirect3DAndBack)
{
    for (int32_t format = kTextureArgb32; format < kTextureOther; ++format) {
        const D3DFORMAT direct3d = Direct3DFormatOf(format);
        EXPECT_NE(direct3d, D3DFMT_UNKNOWN) << format;
        EXPECT_EQ(TextureFormatOf(direct3d), format);
    }
    EXPECT_EQ(Direct3DFormatOf(kTextureRgb24), D3DFMT_R8G8B8);
    EXPECT_EQ(Direct3DFormatOf(kTextureDxt5), D3DFMT_DXT5);
    EXPECT_EQ(Direct3DFormatOf(kTextureD16), D3DFMT_D16);
    for (int32_t outside : {-1, 13, 14, 1000}) {
        EXPECT_EQ(Direct3DFormatOf(outside), D3DFMT_UNKNOWN) << outside;
    }
    EXPECT_EQ(TextureFormatOf(D3DFMT_L8), kTextureOther);
    EXPECT_EQ(TextureFormatOf(D3DFMT_R5G6B5), kTextureOther);
}

TEST(TextureFormat, LevelLayoutCountsRowsOfPixelsOrOfBlocks)
{
    struct Case {
        int32_t format;
        int32_t width;
        int32_t height;
        LevelLayout layout;
    };
    for (const Case& c : std::initializer_list<Case>{
             {kTextureArgb32, 4, 4, {16, 4}},
             {kTextureXrgb32, 3, 5, {12, 5}},
             {kTextureRgb24, 100, 20, {300, 20}},
             {kTextureA8, 7, 3, {7, 3}},
             {kTextureDxt1, 16, 16, {32, 4}},
             {kTextureDxt3, 16, 8, {64, 2}},
             {kTextureDxt5, 8, 16, {32, 4}},
             // Small levels still take whole blocks.
             {kTextureDxt1, 2, 2, {8, 1}},
             {kTextureDxt1, 1, 1, {8, 1}},
             {kTextureDxt5, 2, 1, {16, 1}},
             {kTextureDxt3, 5, 9, {32, 3}},
             // No layout: formats no file holds, and sizes no texture has.
             {kTextureR32F, 4, 4, {0, 0}},
             {kTextureD24S8, 4, 4, {0, 0}},
             {kTextureOther, 4, 4, {0, 0}},
             {kTextureArgb32, 0, 4, {0, 0}},
             {kTextureArgb32, 4, -1, {0, 0}},
             {kTextureArgb32, 0x40000000, 4, {0, 0}},
             {99, 4, 4, {0, 0}}}) {
        const LevelLayout layout = TextureLevelLayout(c.format, c.width, c.height);
        EXPECT_EQ(layout.rowBytes, c.layout.rowBytes) << c.format << " " << c.width << "x" << c.height;
        EXPECT_EQ(layout.rows, c.layout.rows) << c.format << " " << c.width << "x" << c.height;
    }
    EXPECT_EQ(TextureFormatBits(kTextureDxt1), 16);
    EXPECT_EQ(TextureFormatBits(kTextureRgb24), 24);
    EXPECT_EQ(TextureFormatBits(kTextureRgba16F), 0);
}

TEST(TextureFormat, StandInsKeepTheChannelsFirst)
{
    struct Case {
        D3DFORMAT wanted;
        std::vector<D3DFORMAT> candidates;
    };
    for (const Case& c : std::initializer_list<Case>{
             {D3DFMT_R8G8B8, {D3DFMT_R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_DXT1, D3DFMT_DXT3, D3DFMT_DXT5, D3DFMT_R5G6B5}},
             {D3DFMT_A8R8G8B8, {D3DFMT_A8R8G8B8, D3DFMT_DXT3, D3DFMT_DXT5, D3DFMT_A4R4G4B4, D3DFMT_DXT1}},
             {D3DFMT_A8, {D3DFMT_L8, D3DFMT_A8}},
             {D3DFMT_D24S8, {D3DFMT_D24S8, D3DFMT_D32, D3DFMT_D16}},
             {D3DFMT_D16, {D3DFMT_D16, D3DFMT_D24S8, D3DFMT_D32}},
             {D3DFMT_R32F, {D3DFMT_R32F, D3DFMT_R16F, D3DFMT_L16, D3DFMT_L8, D3DFMT_A8, D3DFMT_A8R8G8B8}},
             {D3DFMT_DXT5, {D3DFMT_DXT5, D3DFMT_DXT3, D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4}},
             {D3DFMT_L8, {}},
             {D3DFMT_UNKNOWN, {}}}) {
        EXPECT_EQ(FormatCandidates(c.wanted), c.candidates) << c.wanted;
    }
}

TEST(TextureFormat, PowerOfTwoAdaptersGetTheNextPowerOfTwoUpTo4096)
{
    struct Case {
        int32_t edge;
        bool powersOfTwoOnly;
        int32_t allocated;
    };
    for (const Case& c : std::initializer_list<Case>{
             {300, true, 512}, {200, true, 256}, {256, true, 256}, {1, true, 1}, {3, true, 4},
             {2049, true, 4096}, {5000, true, 4096}, {300, false, 300}, {0, true, 0}}) {
        EXPECT_EQ(AllocatedTextureEdge(c.edge, c.powersOfTwoOnly), c.allocated) << c.edge;
    }
}

TEST(DctTextureLoader, ReadsFiveFormatCodes)
{
    struct Case {
        int32_t code;
        int32_t format;
    };
    for (const Case& c : std::initializer_list<Case>{{0, kTextureArgb32}, {5, kTextureRgb24}, {8, kTextureDxt1},
                                                    {9, kTextureDxt3}, {10, kTextureDxt5}, {1, -1}, {3, -1},
                                                    {11, -1}, {-1, -1}}) {
        EXPECT_EQ(DctTextureFormat(c.code), c.format) << c.code;
    }
}
