#include "render/device/CubeTexture.h"
#include "render/device/DepthSurface.h"
#include "render/device/IndexBuffer.h"
#include "render/device/RenderSurface.h"
#include "render/device/Texture2D.h"
#include "tests/render/device/ScreenQuads.h"
#include "tests/render/device/WindowedDevice.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>

namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kWhite = 0xFFFFFFFF;

TextureDesc TargetDesc(int32_t width, int32_t height)
{
    return {kTextureArgb32, kTextureKind2D, width, height, width, height, 1, false, true, false};
}

uint32_t PixelAt(const Screenshot& shot, int32_t x, int32_t y)
{
    return shot.pixels[static_cast<size_t>(y) * shot.width + x];
}

class DrawingDevice : public WindowedDevice {
protected:
    void SetUp() override
    {
        WindowedDevice::SetUp();
        quads.emplace(video, 4);
    }

    FixedFunctionEffect effect{video};
    std::optional<ScreenQuads> quads;
};

} // namespace

TEST_F(DrawingDevice, DrawCountsPrimitivesOncePerCallAndDrawCallsPerFragment)
{
    struct Case {
        int32_t type;
        int32_t vertices;
        int32_t fragments;
        FrameStatistics counted;
    };
    quads->Bind(video);
    for (const Case& c : std::initializer_list<Case>{
             {kTriangleList, 5, 3, {0, 0, 3, 1, 5, 0}},
             {kTriangleStrip, 4, 1, {0, 0, 1, 2, 4, 0}},
             {kLineStrip, 4, 2, {0, 0, 2, 3, 4, 0}},
             {kPointList, 3, 1, {0, 0, 1, 3, 3, 0}},
             {0, 4, 1, {}},
             {7, 4, 1, {}},
             {kTriangleList, 2, 1, {}}}) {
        effect.fragments = c.fragments;
        effect.applied.clear();
        video.SetShader(&effect, 0, 0);
        video.BeginFrame();
        video.Draw({0, c.vertices}, c.type);
        video.EndFrame();
        const FrameStatistics& counted = video.GetFrameStatistics();
        EXPECT_EQ(counted.drawCalls, c.counted.drawCalls) << c.type;
        EXPECT_EQ(counted.primitives, c.counted.primitives) << c.type;
        EXPECT_EQ(counted.vertices, c.counted.vertices) << c.type;
        EXPECT_EQ(static_cast<int32_t>(effect.applied.size()), c.counted.drawCalls) << c.type;
    }
}

TEST_F(DrawingDevice, DrawIndexedCountsItsIndicesAsPrimitivesAndItsVertices)
{
    std::unique_ptr<IndexBuffer> indices = video.CreateIndexBuffer(6, 4, false, true);
    auto* written = static_cast<uint16_t*>(indices->Lock({0, 6}, 0));
    ASSERT_NE(written, nullptr);
    for (int32_t i = 0; i < 6; ++i) {
        *indices->ElementPointer(i) = static_cast<uint32_t>(i < 3 ? i : i - 2);
    }
    indices->Unlock();
    quads->Set(0, 0, 0, 800, 600, 0.5f);
    quads->Bind(video);
    video.SetIndexBuffer(indices.get());
    effect.color = kBlue;
    effect.fragments = 2;
    video.SetShader(&effect, 0, 0);
    video.BeginFrame();
    video.Clear(kClearTarget, {1.0f, 1.0f, 1.0f, 1.0f}, 1.0f, 0);
    video.DrawIndexed({0, 6}, {0, 4}, kTriangleList);
    video.EndFrame();
    video.Present();
    const FrameStatistics& counted = video.GetFrameStatistics();
    EXPECT_EQ(counted.drawCalls, 2);
    EXPECT_EQ(counted.primitives, 2);
    EXPECT_EQ(counted.vertices, 4);
    EXPECT_TRUE(Screenshot(video).AllPixelsAre(kBlue));
}

TEST_F(DrawingDevice, BatchesAreDrawnFromTheRingPosition)
{
    quads->Set(0, 0, 0, 800, 600, 0.5f);
    quads->Set(1, 0, 0, 400, 600, 0.5f);
    quads->Bind(video);
    effect.color = kRed;
    video.SetShader(&effect, 0, 0);
    // The second quad as a batch of its own: vertex 0 of the batch is vertex 4 of the buffer.
    quads->buffer->SetRingPosition(4);
    video.BeginFrame();
    video.Clear(kClearTarget, {0.0f, 0.0f, 1.0f, 1.0f}, 1.0f, 0);
    video.Draw({0, 4}, kTriangleStrip);
    video.EndFrame();
    video.Present();
    const Screenshot shot(video);
    EXPECT_EQ(PixelAt(shot, 399, 300), kRed);
    EXPECT_EQ(PixelAt(shot, 400, 300), kBlue);
}

TEST_F(DrawingDevice, RenderTargetGetsTheDrawingAndItsSizeAsViewport)
{
    std::unique_ptr<TextureResource> target = video.CreateTexture(TargetDesc(64, 32));
    ASSERT_NE(target, nullptr);
    video.SetRenderTarget(target.get());
    EXPECT_EQ(video.GetRenderTarget(), target.get());
    EXPECT_EQ(video.GetViewportWidth(), 64);
    EXPECT_EQ(video.GetViewportHeight(), 32);
    quads->Set(0, 0, 0, 32, 32, 0.5f);
    quads->Bind(video);
    effect.color = kRed;
    video.SetShader(&effect, 0, 0);
    video.BeginFrame();
    video.Clear(kClearTarget, {0.0f, 0.0f, 1.0f, 1.0f}, 1.0f, 0);
    quads->Draw(video, 0);
    video.EndFrame();

    std::vector<uint32_t> pixels;
    ASSERT_TRUE(video.ReadRenderTarget(*target, pixels));
    ASSERT_EQ(pixels.size(), 64u * 32u);
    EXPECT_EQ(pixels[0], kRed);
    EXPECT_EQ(pixels[31 * 64 + 31], kRed);
    EXPECT_EQ(pixels[31 * 64 + 32], kBlue);

    video.SetRenderTarget(nullptr);
    EXPECT_EQ(video.GetRenderTarget(), nullptr);
    EXPECT_EQ(video.GetViewportWidth(), 800);
    EXPECT_EQ(video.GetViewportHeight(), 600);
    IDirect3DSurface9* current = nullptr;
    video.GetDirect3DDevice()->GetRenderTarget(0, &current);
    D3DSURFACE_DESC description{};
    current->GetDesc(&description);
    current->Release();
    EXPECT_EQ(description.Width, 800u);
}

TEST_F(DrawingDevice, RenderTargetUnbindsEveryTextureStage)
{
    std::unique_ptr<TextureResource> target = video.CreateTexture(TargetDesc(16, 16));
    std::unique_ptr<TextureResource> other = video.CreateTexture(TargetDesc(16, 16));
    video.SetTexture(3, other.get());
    ASSERT_EQ(video.GetBoundTexture(3), other.get());
    video.GetFrameStatistics() = {};
    video.SetRenderTarget(target.get());
    EXPECT_EQ(video.GetBoundTexture(3), nullptr);
    EXPECT_EQ(video.GetFrameStatistics().textureSwitches, 1);
    IDirect3DBaseTexture9* bound = nullptr;
    video.GetDirect3DDevice()->GetTexture(3, &bound);
    EXPECT_EQ(bound, nullptr);
    video.SetRenderTarget(nullptr);
}

TEST_F(DrawingDevice, RenderSurfacesAndCubeFacesAreTargetsToo)
{
    std::unique_ptr<RenderSurface> surface =
        video.CreateRenderTarget({kTextureArgb32, kTextureKind2D, 48, 24, 48, 24, 1, true, false, false});
    ASSERT_TRUE(surface->IsValid());
    video.SetRenderTarget(surface.get());
    EXPECT_EQ(video.GetViewportWidth(), 48);
    video.BeginFrame();
    video.Clear(kClearTarget, {1.0f, 0.0f, 0.0f, 1.0f}, 1.0f, 0);
    video.EndFrame();
    video.SetRenderTarget(nullptr);
    const LockedPixels locked = surface->Lock({0, 0, 48, 24}, 0);
    ASSERT_NE(locked.pixels, nullptr);
    EXPECT_EQ(static_cast<const uint32_t*>(locked.pixels)[5], kRed);
    surface->Unlock(0);

    std::unique_ptr<TextureResource> cube =
        video.CreateTexture({kTextureArgb32, kTextureKindCube, 32, 32, 32, 32, 1, false, true, false});
    ASSERT_NE(cube, nullptr);
    TextureResource* face = static_cast<CubeTexture&>(*cube).GetFace(2);
    video.SetRenderTarget(face);
    EXPECT_EQ(video.GetViewportWidth(), 32);
    video.SetRenderTarget(nullptr);
}

TEST_F(DrawingDevice, ClearLeavesOutTheStencilOfADepthBufferWithout)
{
    ASSERT_TRUE(video.Create(nullptr, kMenuSize, {}));
    std::unique_ptr<DepthSurface> depth = video.CreateDepthStencil({800, 600, kTextureD16, false, nullptr});
    ASSERT_NE(depth->GetSurface(), nullptr);
    ASSERT_EQ(depth->GetFormat(), D3DFMT_D16);
    video.SetDepthStencil(depth.get());
    EXPECT_EQ(video.GetDepthStencil(), depth.get());
    // Asking Direct3D for a stencil the surface lacks would refuse the whole clear.
    ShowClearedFrame({0.0f, 0.0f, 1.0f, 1.0f});
    EXPECT_TRUE(Screenshot(video).AllPixelsAre(kBlue));
    video.SetDepthStencil(nullptr);
    EXPECT_EQ(video.GetDepthStencil(), nullptr);
}

TEST_F(DrawingDevice, DebugShapesDrawThroughTheLineEffectAndCountNothing)
{
    auto line = std::make_unique<FixedFunctionEffect>(video, 1);
    FixedFunctionEffect& lineEffect = *line;
    lineEffect.color = kWhite;
    video.SetLineShader(std::move(line));
    quads->Bind(video);
    video.BeginFrame();
    video.Clear(kClearTarget, {1.0f, 0.0f, 0.0f, 1.0f}, 1.0f, 0);
    // Untransformed: the triangle covers all of clip space.
    video.DrawTriangle({-1.0f, -1.0f, 0.5f}, {3.0f, -1.0f, 0.5f}, {-1.0f, 3.0f, 0.5f}, {1.0f, 1.0f, 1.0f, 1.0f});
    video.DrawLine({-1.0f, 0.0f, 0.5f}, {1.0f, 0.0f, 0.5f}, {1.0f, 1.0f, 1.0f, 1.0f});
    video.DrawPoint({0.0f, 0.0f, 0.5f}, {1.0f, 1.0f, 1.0f, 1.0f});
    video.EndFrame();
    video.Present();
    EXPECT_EQ(lineEffect.applied.size(), 3u);
    const FrameStatistics& counted = video.GetFrameStatistics();
    EXPECT_EQ(counted.drawCalls, 0);
    EXPECT_EQ(counted.primitives, 0);
    EXPECT_EQ(video.GetVertexStream(0), nullptr);
    EXPECT_TRUE(Screenshot(video).AllPixelsAre(kWhite));
}
