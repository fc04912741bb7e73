#include "render/device/AnimatedTexture.h"
#include "render/device/CubeTexture.h"
#include "render/device/Direct3DFormats.h"
#include "render/device/RenderSurface.h"
#include "render/device/Texture2D.h"
#include "render/device/VolumeTexture.h"
#include "tests/render/device/WindowedDevice.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

namespace {

TextureDesc Desc2D(int32_t format, int32_t width, int32_t height)
{
    return {format, kTextureKind2D, width, height, width, height, 1, false, false, false};
}

uint32_t SamplerState(const D3D9Video& video, DWORD sampler, D3DSAMPLERSTATETYPE state)
{
    DWORD value = 0;
    video.GetDirect3DDevice()->GetSamplerState(sampler, state, &value);
    return value;
}

// Frames advanced by hand.
class FrameList : public AnimatedTexture {
public:
    explicit FrameList(std::vector<TextureResource*> frames) { frames_ = std::move(frames); }
    void Advance(float) override { currentFrame_ = (currentFrame_ + 1) % static_cast<int32_t>(frames_.size()); }
};

} // namespace

TEST_F(WindowedDevice, FormatChoiceTakesTheFirstStandInTheAdapterSupports)
{
    IDirect3D9* direct3d = nullptr;
    video.GetDirect3DDevice()->GetDirect3D(&direct3d);
    D3DDISPLAYMODE mode{};
    direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
    for (int32_t format = kTextureArgb32; format <= kTextureD16; ++format) {
        D3DFORMAT expected = D3DFMT_UNKNOWN;
        for (D3DFORMAT candidate : FormatCandidates(Direct3DFormatOf(format))) {
            if (SUCCEEDED(direct3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, mode.Format, 0,
                                                      D3DRTYPE_TEXTURE, candidate))) {
                expected = candidate;
                break;
            }
        }
        EXPECT_EQ(video.ChooseTextureFormat(0, D3DRTYPE_TEXTURE, Direct3DFormatOf(format)), expected) << format;
    }
    direct3d->Release();
    // The adapter lacks some wanted formats; their stand-ins take over.
    EXPECT_EQ(video.ChooseTextureFormat(0, D3DRTYPE_TEXTURE, D3DFMT_A8), D3DFMT_L8);
    EXPECT_EQ(video.ChooseTextureFormat(0, D3DRTYPE_TEXTURE, D3DFMT_L8), D3DFMT_UNKNOWN);
}

TEST_F(WindowedDevice, TexturesOfEachKindReportTheirSizes)
{
    std::unique_ptr<TextureResource> flat = video.CreateTexture({kTextureArgb32, kTextureKind2D, 60, 30, 64, 32, 0,
                                                                 false, false, false});
    ASSERT_NE(flat, nullptr);
    EXPECT_TRUE(flat->IsValid());
    EXPECT_EQ(flat->GetKind(), kTextureKind2D);
    EXPECT_EQ(flat->GetWidth(), 64.0f);
    EXPECT_EQ(flat->GetImageWidth(), 60.0f);
    EXPECT_EQ(flat->GetImageHeight(), 30.0f);
    EXPECT_EQ(flat->GetLevelCount(), 0);
    EXPECT_EQ(flat->GetFormat(), kTextureArgb32);

    std::unique_ptr<TextureResource> cube =
        video.CreateTexture({kTextureArgb32, kTextureKindCube, 32, 32, 32, 32, 1, false, false, false});
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(cube->GetImageSize().width, 32.0f);
    EXPECT_EQ(cube->GetImageWidth(), 0.0f);
    CubeFace* face = static_cast<CubeTexture&>(*cube).GetFace(5);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->GetKind(), kTextureKindCubeFace);
    EXPECT_EQ(face->GetImageWidth(), 32.0f);
    EXPECT_EQ(face->GetFormat(), kTextureArgb32);
    EXPECT_EQ(static_cast<CubeTexture&>(*cube).GetFace(6), nullptr);
    const LockedPixels locked = face->Lock({0, 0, 32, 32}, 0);
    EXPECT_NE(locked.pixels, nullptr);
    face->Unlock(0);

    std::unique_ptr<TextureResource> volume =
        video.CreateTexture({kTextureArgb32, kTextureKindVolume, 16, 8, 4, 0, 1, false, false, false});
    ASSERT_NE(volume, nullptr);
    auto& slices = static_cast<VolumeTexture&>(*volume);
    EXPECT_EQ(slices.GetDepth(), 4);
    EXPECT_EQ(volume->GetImageWidth(), 16.0f);
    ASSERT_NE(slices.GetSlice(3), nullptr);
    EXPECT_EQ(slices.GetSlice(3)->GetImageHeight(), 8.0f);
    EXPECT_EQ(slices.GetSlice(4), nullptr);
    EXPECT_EQ(slices.GetSlice(3)->Lock({0, 0, 1, 1}, 0).pixels, nullptr);

    EXPECT_EQ(video.CreateTexture({kTextureArgb32, 7, 16, 16, 16, 16, 1, false, false, false}), nullptr);
}

TEST_F(WindowedDevice, CloneSharesThePixelsWithDefaultSampling)
{
    std::unique_ptr<TextureResource> original = video.CreateTexture(Desc2D(kTextureArgb32, 8, 8));
    original->SetName(L"ORIGINAL");
    original->SetAddressU(D3DTADDRESS_CLAMP);
    original->SetLodBias(1.5f);
    const LockedPixels locked = original->Lock({0, 0, 8, 8}, 0);
    ASSERT_NE(locked.pixels, nullptr);
    static_cast<uint32_t*>(locked.pixels)[0] = 0x12345678;
    original->Unlock(0);

    std::unique_ptr<TextureResource> clone = original->Clone();
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->GetName(), L"ORIGINAL");
    const auto& sampling = static_cast<Texture2D&>(*clone).GetSamplerStates();
    EXPECT_EQ(sampling.addressU, static_cast<uint32_t>(D3DTADDRESS_WRAP));
    EXPECT_EQ(sampling.mipLodBias, -1.5f);
    EXPECT_EQ(static_cast<Texture2D&>(*original).GetSamplerStates().mipLodBias, 0.0f);

    std::vector<uint8_t> picture;
    ASSERT_TRUE(static_cast<Texture2D&>(*clone).SaveToMemory(picture));
    ASSERT_GT(picture.size(), 8u * 8u * 3u);
    EXPECT_EQ(picture[0], 'B');
    EXPECT_EQ(picture[1], 'M');

    // Destroying one leaves the pixels to the other.
    original.reset();
    ASSERT_TRUE(clone->IsValid());
    const LockedPixels shared = clone->Lock({0, 0, 8, 8}, 0);
    ASSERT_NE(shared.pixels, nullptr);
    EXPECT_EQ(static_cast<uint32_t*>(shared.pixels)[0], 0x12345678u);
    clone->Unlock(0);
}

TEST_F(WindowedDevice, BindingSendsTheTexturesSamplingAndCountsSwitches)
{
    std::unique_ptr<TextureResource> texture = video.CreateTexture(Desc2D(kTextureArgb32, 8, 8));
    texture->SetAddressV(D3DTADDRESS_MIRROR);
    texture->SetFiltering(false);
    texture->SetMipmapping(false);
    video.SetMaxMipLevel(2);
    video.GetFrameStatistics() = {};
    video.SetTexture(0, texture.get());
    video.SetTexture(0, texture.get());
    EXPECT_EQ(video.GetFrameStatistics().textureSwitches, 1);
    EXPECT_EQ(SamplerState(video, 0, D3DSAMP_ADDRESSV), static_cast<uint32_t>(D3DTADDRESS_MIRROR));
    EXPECT_EQ(SamplerState(video, 0, D3DSAMP_MAGFILTER), static_cast<uint32_t>(D3DTEXF_POINT));
    EXPECT_EQ(SamplerState(video, 0, D3DSAMP_MIPFILTER), static_cast<uint32_t>(D3DTEXF_NONE));
    EXPECT_EQ(SamplerState(video, 0, D3DSAMP_MAXMIPLEVEL), 2u);
    const float bias = -1.5f;
    uint32_t biasBits = 0;
    std::memcpy(&biasBits, &bias, sizeof biasBits);
    EXPECT_EQ(SamplerState(video, 0, D3DSAMP_MIPMAPLODBIAS), biasBits);

    // A frame list binds its current frame, and binding it again is always a switch.
    std::unique_ptr<TextureResource> second = video.CreateTexture(Desc2D(kTextureArgb32, 4, 4));
    FrameList frames({texture.get(), second.get()});
    EXPECT_EQ(frames.GetImageWidth(), 8.0f);
    video.SetTexture(1, &frames);
    video.SetTexture(1, &frames);
    EXPECT_EQ(video.GetFrameStatistics().textureSwitches, 3);
    EXPECT_EQ(video.GetBoundTexture(1), texture.get());
    frames.Advance(0.1f);
    video.SetTexture(1, &frames);
    EXPECT_EQ(video.GetBoundTexture(1), second.get());
    EXPECT_EQ(frames.GetImageWidth(), 4.0f);

    // A texture that goes is unbound.
    second.reset();
    EXPECT_EQ(video.GetBoundTexture(1), nullptr);
    video.SetTexture(0, nullptr);
    EXPECT_EQ(video.GetFrameStatistics().textureSwitches, 5);
}

TEST_F(WindowedDevice, DefaultPoolResourcesComeBackAfterAReset)
{
    std::unique_ptr<TextureResource> target =
        video.CreateTexture({kTextureArgb32, kTextureKind2D, 32, 32, 32, 32, 1, false, true, false});
    std::unique_ptr<TextureResource> dynamic =
        video.CreateTexture({kTextureArgb32, kTextureKind2D, 16, 16, 16, 16, 1, true, false, false});
    std::unique_ptr<TextureResource> managed = video.CreateTexture(Desc2D(kTextureArgb32, 16, 16));
    std::unique_ptr<RenderSurface> surface =
        video.CreateRenderTarget({kTextureArgb32, kTextureKind2D, 32, 32, 32, 32, 1, true, false, false});
    IDirect3DBaseTexture9* managedBefore = static_cast<Texture2D&>(*managed).GetDirect3DTexture();

    // Direct3D refuses to reset while anything of the default pool is alive.
    ScopedCapture log;
    ASSERT_TRUE(video.Create(nullptr, {640, 480}, {}));
    EXPECT_FALSE(log->Contains(L"D3D9Video: Reset failed!"));
    for (TextureResource* texture : {target.get(), dynamic.get(), managed.get(), static_cast<TextureResource*>(surface.get())}) {
        EXPECT_TRUE(texture->IsValid());
    }
    EXPECT_EQ(static_cast<Texture2D&>(*managed).GetDirect3DTexture(), managedBefore);
    video.SetRenderTarget(target.get());
    EXPECT_EQ(video.GetViewportWidth(), 32);
    video.SetRenderTarget(nullptr);
}

TEST_F(TestWindow, ResourcesOutlivingTheDeviceAreLeftEmpty)
{
    std::unique_ptr<TextureResource> texture;
    {
        D3D9Video video;
        ASSERT_TRUE(video.Create(&window, {800, 600}, {}));
        texture = video.CreateTexture(Desc2D(kTextureArgb32, 8, 8));
        ASSERT_TRUE(texture->IsValid());
    }
    EXPECT_FALSE(texture->IsValid());
    EXPECT_EQ(texture->Lock({0, 0, 8, 8}, 0).pixels, nullptr);
    EXPECT_EQ(texture->Clone()->GetImageWidth(), 8.0f);
}
