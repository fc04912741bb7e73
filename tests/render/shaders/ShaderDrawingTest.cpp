#include "render/device/VertexBuffer.h"
#include "render/device/VertexFormat.h"
#include "render/shaders/ShaderEffect.h"
#include "render/sprites/EffectQuads.h"
#include "tests/render/shaders/ShaderTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <optional>

namespace {

constexpr uint32_t kBlack = 0xFF000000;
constexpr int32_t kTolerance = 3;   // per channel, for the software rasteriser's rounding

bool Near(uint32_t pixel, uint32_t expected)
{
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((expected >> shift) & 0xFF)) >
            kTolerance) {
            return false;
        }
    }
    return true;
}

std::string Hex(uint32_t pixel)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(pixel));
    return text;
}

uint32_t PixelAt(const Screenshot& shot, int32_t x, int32_t y)
{
    return shot.pixels[static_cast<size_t>(y) * shot.width + x];
}

// The sprite batch's vertex: clip-space position, colour, texture coordinates.
struct SpriteVertex {
    float x, y;
    uint32_t color;
    float u, v;
};

// A mesh vertex: position, normal, texture coordinates.
struct MeshVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};

class SampleDrawing : public SampleShaderDevice {
protected:
    void SetUp() override
    {
        SampleShaderDevice::SetUp();
        variables.emplace(video);
    }
    void TearDown() override
    {
        variables.reset();
        SampleShaderDevice::TearDown();
    }

    // A 2 x 2 texture of four colours, as "Tex0".
    void UseFourColourTexture()
    {
        const uint32_t texels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
        variables->texture->Upload({0, 0, 2, 2}, 0, {texels, 8}, kTextureArgb32);
    }

    // Draws the four vertices as a strip with the effect, in one whole frame, and shows it.
    template <class Vertex>
    Screenshot DrawQuad(ShaderEffect& effect, const std::vector<VertexElement>& elements, const Vertex (&corners)[4],
                        int32_t passKey)
    {
        std::unique_ptr<VertexFormat> format = video.CreateVertexFormat(elements);
        std::unique_ptr<VertexBuffer> buffer = video.CreateVertexBuffer(sizeof(Vertex), 4, false, true);
        auto* written = static_cast<Vertex*>(buffer->Lock({0, 4}, 0));
        EXPECT_NE(written, nullptr);
        if (written) {
            std::copy(corners, corners + 4, written);
            buffer->Unlock();
        }
        effect.SetParent(&*variables);
        video.BeginFrame();
        video.Clear(kClearTarget | kClearDepth, {0.0f, 0.0f, 0.0f, 1.0f}, 1.0f, 0);
        video.SetVertexFormat(format.get());
        video.SetVertexStream(0, buffer.get());
        video.SetShader(&effect, passKey, 0);
        video.Draw({0, 4}, kTriangleStrip);
        video.EndFrame();
        video.Present();
        video.SetVertexStream(0, nullptr);
        video.SetVertexFormat(nullptr);
        video.SetShader(nullptr, 0, 0);
        return Screenshot(video);
    }

    std::optional<SampleVariables> variables;
};

const std::vector<VertexElement> kSpriteElements{
    {0, 0, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 8, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
    {0, 12, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
};

const std::vector<VertexElement> kMeshElements{
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
};

// The middle half of the 800 x 600 screen: x 200 to 600, y 150 to 450.
constexpr SpriteVertex kSpriteQuad[4] = {
    {-0.5f, 0.5f, 0xFFFFFFFF, 0.0f, 0.0f},
    {0.5f, 0.5f, 0xFFFFFFFF, 1.0f, 0.0f},
    {-0.5f, -0.5f, 0xFFFFFFFF, 0.0f, 1.0f},
    {0.5f, -0.5f, 0xFFFFFFFF, 1.0f, 1.0f},
};

// The same rectangle facing the camera (normal -z), and one facing away.
MeshVertex MeshCorner(float x, float y, float nz, float u, float v)
{
    return {x, y, 0.5f, 0.0f, 0.0f, nz, u, v};
}

} // namespace

// The compiled technique at full detail, the fixed-function one at the lowest.
TEST_F(SampleDrawing, TheSpriteShaderDrawsATexturedQuadWithEitherTechnique)
{
    UseFourColourTexture();
    ShaderEffect effect(video, L"dcSprite_Solid.DCS");
    for (int32_t level : {0, 3}) {
        SetShaderDetailLevel(level);
        const Screenshot shot = DrawQuad(effect, kSpriteElements, kSpriteQuad, 0);
        ASSERT_TRUE(shot.taken);
        EXPECT_EQ(effect.GetChosenTechnique(-2), level == 0 ? 0 : 1);
        struct Probe {
            int32_t x, y;
            uint32_t expected;
        };
        for (const Probe& p : std::initializer_list<Probe>{{300, 225, 0xFFFF0000},
                                                           {500, 225, 0xFF00FF00},
                                                           {300, 375, 0xFF0000FF},
                                                           {500, 375, 0xFFFFFFFF},
                                                           {100, 100, kBlack},
                                                           {700, 500, kBlack}}) {
            const uint32_t pixel = PixelAt(shot, p.x, p.y);
            EXPECT_TRUE(Near(pixel, p.expected)) << "level " << level << " at " << p.x << "," << p.y << ": "
                                                 << Hex(pixel);
        }
    }
}

TEST_F(SampleDrawing, TheMeshShaderLightsWhatFacesTheLight)
{
    ShaderEffect effect(video, L"dcMesh.DCS");
    const uint32_t lit = 0xFF999999;   // white texture x 0.6 light
    for (int32_t level : {0, 3}) {
        SetShaderDetailLevel(level);
        for (float nz : {-1.0f, 1.0f}) {
            const MeshVertex quad[4] = {MeshCorner(-0.5f, 0.5f, nz, 0, 0), MeshCorner(0.5f, 0.5f, nz, 1, 0),
                                        MeshCorner(-0.5f, -0.5f, nz, 0, 1), MeshCorner(0.5f, -0.5f, nz, 1, 1)};
            const Screenshot shot = DrawQuad(effect, kMeshElements, quad, 1);
            ASSERT_TRUE(shot.taken);
            EXPECT_EQ(effect.GetChosenTechnique(-2), level == 0 ? 0 : 1);
            const uint32_t pixel = PixelAt(shot, 400, 300);
            EXPECT_TRUE(Near(pixel, nz < 0 ? lit : kBlack)) << "level " << level << " normal " << nz << ": "
                                                             << Hex(pixel);
        }
    }
}

// The programs' fog: none at a range of 0, the fog colour where the quad
// lies beyond the range (half a unit from the eye, a range of a quarter).
TEST_F(SampleDrawing, TheMeshShaderFogsWhatLiesBeyondTheFogRange)
{
    ShaderEffect effect(video, L"dcMesh.DCS");
    SetShaderDetailLevel(0);
    const MeshVertex quad[4] = {MeshCorner(-0.5f, 0.5f, -1.0f, 0, 0), MeshCorner(0.5f, 0.5f, -1.0f, 1, 0),
                                MeshCorner(-0.5f, -0.5f, -1.0f, 0, 1), MeshCorner(0.5f, -0.5f, -1.0f, 1, 1)};
    for (const auto& [range, expected] : {std::pair{0.0f, 0xFF999999u}, std::pair{4.0f, 0xFF3366CCu}}) {
        variables->SetFloat(variables->fogRange, range);
        const Screenshot shot = DrawQuad(effect, kMeshElements, quad, 1);
        ASSERT_TRUE(shot.taken);
        const uint32_t pixel = PixelAt(shot, 400, 300);
        EXPECT_TRUE(Near(pixel, expected)) << "range " << range << ": " << Hex(pixel);
    }
}

TEST_F(SampleDrawing, TheLineShaderDrawsTheDevicesDebugLines)
{
    auto owned = std::make_unique<ShaderEffect>(video, L"dcLine.DCS");
    ShaderEffect& line = *owned;
    line.SetParent(&*variables);
    video.SetLineShader(std::move(owned));
    for (int32_t level : {0, 3}) {
        SetShaderDetailLevel(level);
        video.BeginFrame();
        video.Clear(kClearTarget | kClearDepth, {0.0f, 0.0f, 0.0f, 1.0f}, 1.0f, 0);
        video.DrawLine({-0.5f, 0.0f, 0.5f}, {0.5f, 0.0f, 0.5f}, {1.0f, 0.0f, 0.0f, 1.0f});
        video.EndFrame();
        video.Present();
        const Screenshot shot(video);
        ASSERT_TRUE(shot.taken);
        EXPECT_EQ(line.GetChosenTechnique(-2), level == 0 ? 0 : 1);
        int32_t red = 0;
        for (int32_t y = 295; y <= 305; ++y) {
            red += Near(PixelAt(shot, 400, y), 0xFFFF0000) ? 1 : 0;
        }
        EXPECT_GE(red, 1) << "level " << level;
        EXPECT_TRUE(Near(PixelAt(shot, 100, 300), kBlack)) << "level " << level;
    }
    video.SetLineShader(nullptr);
}

// Particles and decals: world-space quads through the quad ring, the vertex
// colour times "Tex0", with the pass each effect serves.
TEST_F(SampleDrawing, TheEffectShadersDrawQuadsFromTheQuadRing)
{
    struct Case {
        const wchar_t* file;
        int32_t passKey;
    };
    for (const Case& c : {Case{L"dcParticle_Mod.DCS", 4}, Case{L"dcParticle_Add.DCS", 4},
                          Case{L"dcDecal_Mod.DCS", 3}, Case{L"dcDecal_Add.DCS", 3}}) {
        ShaderVariableBlock block;
        block.SetParent(&*variables);
        EffectQuadBuffers quads(&video, 2, block);
        ShaderEffect effect(video, c.file);
        effect.SetParent(&block);
        for (int32_t level : {0, 3}) {
            SetShaderDetailLevel(level);
            video.BeginFrame();
            video.Clear(kClearTarget | kClearDepth, {0.0f, 0.0f, 0.0f, 1.0f}, 1.0f, 0);
            void* vertices = quads.Lock(1);
            ASSERT_NE(vertices, nullptr);
            // The middle half of the screen, in clip space ("View" and "Proj" are identities).
            EffectVertexWriter writer(vertices, quads.HasFloatColour());
            const Color orange{1.0f, 0.5f, 0.0f, 1.0f};
            writer.Write({-0.5f, -0.5f, 0.5f}, orange, 0.0f, 1.0f);
            writer.Write({-0.5f, 0.5f, 0.5f}, orange, 0.0f, 0.0f);
            writer.Write({0.5f, -0.5f, 0.5f}, orange, 1.0f, 1.0f);
            writer.Write({0.5f, 0.5f, 0.5f}, orange, 1.0f, 0.0f);
            quads.Unlock(1);
            quads.Bind();
            quads.Draw(&effect, c.passKey, variables->texture.get(), 0, 1);
            video.EndFrame();
            video.Present();
            video.SetShader(nullptr, 0, 0);
            const Screenshot shot(video);
            ASSERT_TRUE(shot.taken);
            const uint32_t inside = PixelAt(shot, 400, 300);
            EXPECT_TRUE(Near(inside, 0xFFFF7F00)) << WideStringToNarrow(c.file) << " level " << level << ": "
                                                  << Hex(inside);
            EXPECT_TRUE(Near(PixelAt(shot, 100, 100), kBlack)) << WideStringToNarrow(c.file) << " level " << level;
        }
    }
}
