#include "engine/video/DeviceListener.h"
#include "render/device/D3D9Video.h"
#include "render/device/Texture2D.h"
#include "render/device/VertexBuffer.h"
#include "render/shaders/ShaderVariable.h"
#include "tests/render/device/WindowedDevice.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

namespace {

class RecordingListener : public DeviceListener {
public:
    void OnDeviceLost(VideoDevice&) override { heard.push_back(L"lost"); }
    void OnDeviceReset(VideoDevice&) override { heard.push_back(L"reset"); }

    std::vector<WideString> heard;
};

D3DSURFACE_DESC BackBufferDescription(IDirect3DDevice9& device)
{
    D3DSURFACE_DESC description{};
    IDirect3DSurface9* backBuffer = nullptr;
    if (SUCCEEDED(device.GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer))) {
        backBuffer->GetDesc(&description);
        backBuffer->Release();
    }
    return description;
}

DWORD RenderState(const D3D9Video& video, D3DRENDERSTATETYPE state)
{
    DWORD value = 0;
    video.GetDirect3DDevice()->GetRenderState(state, &value);
    return value;
}

} // namespace

TEST_F(WindowedDevice, ScreenshotHoldsTheFrameLastShown)
{
    struct Case {
        Color color;
        uint32_t pixel;
    };
    for (const Case& c : std::initializer_list<Case>{
             {{1.0f, 0.0f, 0.0f, 1.0f}, 0xFFFF0000},
             {{0.0f, 1.0f, 0.0f, 1.0f}, 0xFF00FF00},
             {{0.5f, 0.25f, 0.75f, 1.0f}, 0xFF7F3FBF},
             {{0.0f, 0.0f, 1.0f, 0.0f}, 0xFF0000FF}}) {   // the screen has no alpha
        ShowClearedFrame(c.color);
        const Screenshot shot(video);
        ASSERT_TRUE(shot.taken);
        EXPECT_EQ(shot.width, 800);
        EXPECT_EQ(shot.height, 600);
        ASSERT_EQ(shot.pixels.size(), 800u * 600u);
        EXPECT_TRUE(shot.AllPixelsAre(c.pixel)) << std::hex << c.pixel << " != " << shot.pixels[0];
    }
}

TEST_F(WindowedDevice, CreateAgainResetsToTheNewSize)
{
    RecordingListener listener;
    video.AddDeviceListener(&listener);
    for (const VideoSize size : {VideoSize{640, 480}, VideoSize{1024, 768}, VideoSize{800, 600}}) {
        listener.heard.clear();
        ASSERT_TRUE(video.Create(nullptr, size, {}));
        EXPECT_EQ(listener.heard, (std::vector<WideString>{L"lost", L"reset"}));
        EXPECT_EQ(video.GetBackBufferWidth(), size.width);
        EXPECT_EQ(video.GetBackBufferHeight(), size.height);
        const D3DSURFACE_DESC backBuffer = BackBufferDescription(*video.GetDirect3DDevice());
        EXPECT_EQ(static_cast<int32_t>(backBuffer.Width), size.width);
        EXPECT_EQ(static_cast<int32_t>(backBuffer.Height), size.height);
        EXPECT_EQ(video.GetViewportWidth(), size.width);
        EXPECT_EQ(video.GetViewportHeight(), size.height);

        ShowClearedFrame({1.0f, 1.0f, 0.0f, 1.0f});
        const Screenshot shot(video);
        ASSERT_TRUE(shot.taken);
        EXPECT_EQ(shot.width, size.width);
        EXPECT_EQ(shot.height, size.height);
        EXPECT_TRUE(shot.AllPixelsAre(0xFFFFFF00));
    }
    video.RemoveDeviceListener(&listener);
    listener.heard.clear();
    ASSERT_TRUE(video.Create(nullptr, {800, 600}, {}));
    EXPECT_TRUE(listener.heard.empty());
}

TEST_F(WindowedDevice, ResetToNoSizeIsRefused)
{
    RecordingListener listener;
    video.AddDeviceListener(&listener);
    for (const VideoSize size : {VideoSize{0, 600}, VideoSize{800, 0}, VideoSize{-1, -1}}) {
        EXPECT_FALSE(video.Create(nullptr, size, {}));
        EXPECT_EQ(video.GetBackBufferWidth(), 800);
        EXPECT_EQ(video.GetBackBufferHeight(), 600);
    }
    EXPECT_TRUE(listener.heard.empty());
    video.RemoveDeviceListener(&listener);
}

TEST_F(WindowedDevice, BackBufferTakesTheFirstListedFormatTheAdapterAccepts)
{
    struct Case {
        std::vector<BackBufferFormat> formats;
        D3DFORMAT format;
    };
    for (const Case& c : std::initializer_list<Case>{
             {{BackBufferFormat::kXrgb32}, D3DFMT_X8R8G8B8},
             {{BackBufferFormat::kXrgb32, BackBufferFormat::kArgb32}, D3DFMT_X8R8G8B8},
             {{}, D3DFMT_A8R8G8B8}}) {
        ASSERT_TRUE(video.Create(nullptr, kMenuSize, c.formats));
        EXPECT_EQ(BackBufferDescription(*video.GetDirect3DDevice()).Format, c.format);
        ShowClearedFrame({0.0f, 1.0f, 1.0f, 0.5f});
        EXPECT_TRUE(Screenshot(video).AllPixelsAre(0xFF00FFFF));
    }
}

TEST_F(WindowedDevice, BeginFrameStartsTheStatisticsOver)
{
    FrameStatistics& counted = video.GetFrameStatistics();
    counted = {1, 2, 3, 4, 5, 6};
    video.BeginFrame();
    const FrameStatistics& fresh = video.GetFrameStatistics();
    EXPECT_EQ(fresh.constantUploads, 0);
    EXPECT_EQ(fresh.skippedConstantSets, 0);
    EXPECT_EQ(fresh.drawCalls, 0);
    EXPECT_EQ(fresh.primitives, 0);
    EXPECT_EQ(fresh.vertices, 0);
    EXPECT_EQ(fresh.textureSwitches, 0);
    video.EndFrame();
}

TEST_F(WindowedDevice, WireframeSwitchSetsTheFillModeOfTheNextFrame)
{
    struct Case {
        bool wireframe;
        DWORD fillMode;
    };
    for (const Case& c : std::initializer_list<Case>{
             {true, D3DFILL_WIREFRAME}, {true, D3DFILL_WIREFRAME}, {false, D3DFILL_SOLID}, {true, D3DFILL_WIREFRAME}}) {
        video.SetWireframe(c.wireframe);
        EXPECT_EQ(video.IsWireframe(), c.wireframe);
        ShowClearedFrame({0.0f, 0.0f, 1.0f, 1.0f});
        EXPECT_EQ(RenderState(video, D3DRS_FILLMODE), c.fillMode);
        EXPECT_EQ(RenderState(video, D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_NONE));
        EXPECT_TRUE(Screenshot(video).AllPixelsAre(0xFF0000FF));
    }
}

TEST_F(WindowedDevice, WireframeSwitchOutlivesAReset)
{
    video.SetWireframe(true);
    ASSERT_TRUE(video.Create(nullptr, {640, 480}, {}));
    EXPECT_TRUE(video.IsWireframe());
    video.BeginFrame();
    EXPECT_EQ(RenderState(video, D3DRS_FILLMODE), static_cast<DWORD>(D3DFILL_WIREFRAME));
    video.EndFrame();
}

// Direct3D is changed behind the cache's back, so only a call that reaches
// it shows.
TEST_F(WindowedDevice, RenderStatesReachDirect3DOnlyWhenTheCacheDiffers)
{
    IDirect3DDevice9& direct3d = *video.GetDirect3DDevice();
    video.SetRenderStateCached(D3DRS_ZENABLE, D3DZB_TRUE);
    EXPECT_EQ(RenderState(video, D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_TRUE));

    direct3d.SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    video.SetRenderStateCached(D3DRS_ZENABLE, D3DZB_TRUE);
    EXPECT_EQ(RenderState(video, D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_FALSE));

    ASSERT_TRUE(video.Create(nullptr, kMenuSize, {}));
    direct3d.SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    video.SetRenderStateCached(D3DRS_ZENABLE, D3DZB_TRUE);
    EXPECT_EQ(RenderState(video, D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_TRUE));
}

TEST_F(WindowedDevice, ViewportCutsOffFractionsOfAPixel)
{
    video.SetViewport({10.7f, 20.2f, 110.5f, 220.9f}, 0.0f, 1.0f);
    D3DVIEWPORT9 viewport{};
    video.GetDirect3DDevice()->GetViewport(&viewport);
    EXPECT_EQ(viewport.X, 10u);
    EXPECT_EQ(viewport.Y, 20u);
    EXPECT_EQ(viewport.Width, 99u);
    EXPECT_EQ(viewport.Height, 200u);
    EXPECT_EQ(video.GetViewportWidth(), 99);
    EXPECT_EQ(video.GetViewportHeight(), 200);
    EXPECT_FLOAT_EQ(video.GetViewport().left, 10.7f);
}

TEST_F(TestWindow, CreationReportsTheRendererAndItsShaderProfiles)
{
    ScopedCapture log;
    D3D9Video video;
    ASSERT_TRUE(video.Create(&window, {800, 600}, {}));
    EXPECT_TRUE(log->Contains(L"D3D9Video: Created renderer."));
    EXPECT_TRUE(WideStringStartsWith(video.GetPixelShaderProfile(), L"ps_"));
    EXPECT_TRUE(WideStringStartsWith(video.GetVertexShaderProfile(), L"vs_"));
    EXPECT_TRUE(log->Contains(L"D3D9Video: PixelShaderVersion = " + video.GetPixelShaderProfile()));
    EXPECT_TRUE(log->Contains(L"D3D9Video: VertexShaderVersion = " + video.GetVertexShaderProfile()));
    EXPECT_FALSE(video.GetAdapterDescription().empty());
    EXPECT_FALSE(video.GetVideoModes().empty());
}

TEST_F(TestWindow, FailedCreationLeavesNothingToDrawOn)
{
    dcWindow fullScreen(L"Test", EngineWindowRect(1024, 768, true), true);
    struct Case {
        dcWindow* window;
        VideoSize size;
    };
    for (const Case& c : std::initializer_list<Case>{
             {nullptr, {800, 600}},          // nothing to show it in
             {&window, {0, 0}},              // nothing to show
             {&fullScreen, {123, 457}}}) {   // a mode the display does not have
        ScopedCapture log;
        D3D9Video video;
        EXPECT_FALSE(video.Create(c.window, c.size, {}));
        EXPECT_TRUE(log->Contains(L"D3D9Video: Cannot create renderer."));
        EXPECT_EQ(video.GetDirect3DDevice(), nullptr);

        video.BeginFrame();
        video.Clear(kClearTarget, {1.0f, 0.0f, 0.0f, 1.0f}, 1.0f, 0);
        video.EndFrame();
        video.Present();
        const Screenshot shot(video);
        EXPECT_FALSE(shot.taken);
        EXPECT_TRUE(shot.pixels.empty());
        EXPECT_EQ(shot.width, 0);
        EXPECT_EQ(shot.height, 0);

        // The next request starts over.
        EXPECT_TRUE(video.Create(&window, {800, 600}, {}));
    }
    DestroyWindow(fullScreen.GetHandle());
}

TEST_F(WindowedDevice, SecondCreateOfTheSameSizeIsAFullReset)
{
    constexpr uint32_t kUnknown = 0xFDFDFDFD;
    RecordingListener listener;
    video.AddDeviceListener(&listener);
    video.SetRenderStateCached(D3DRS_ZENABLE, D3DZB_TRUE);
    video.SetSamplerStateCached(2, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    video.SetTextureStageStateCached(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
    video.SetSoftwareVertexProcessingCached(false);
    const float values[4] = {1.0f, 2.0f, 3.0f, 4.0f};
    ShaderVariable constant;
    constant.kind = 5;
    constant.value.pointer = values;
    constant.size = sizeof values;
    video.SetVertexShaderConstants({3, 1}, constant);
    video.SetPixelShaderConstants({0, 1}, constant);
    video.SetViewport({10.0f, 10.0f, 20.0f, 20.0f}, 0.0f, 1.0f);
    ASSERT_NE(video.GetRenderStates().Get(D3DRS_ZENABLE), kUnknown);

    ASSERT_TRUE(video.Create(nullptr, kMenuSize, {}));
    EXPECT_EQ(listener.heard, (std::vector<WideString>{L"lost", L"reset"}));
    EXPECT_EQ(video.GetRenderStates().Get(D3DRS_ZENABLE), kUnknown);
    EXPECT_EQ(video.GetSamplerStates().Get(2 * kSamplerStateSlots + D3DSAMP_MAGFILTER), kUnknown);
    EXPECT_EQ(video.GetTextureStageStates().Get(1 * kTextureStageStateSlots + D3DTSS_COLOROP), kUnknown);
    EXPECT_EQ(video.GetSoftwareVertexProcessingState(), kUnknown);
    for (const ShaderConstantCache* cache : {&video.GetVertexShaderConstants(), &video.GetPixelShaderConstants()}) {
        const uint8_t* bytes = cache->Bytes();
        EXPECT_TRUE(std::all_of(bytes, bytes + cache->GetRegisterCount() * 16, [](uint8_t b) { return b == 0xFD; }));
    }
    EXPECT_EQ(video.GetPixelShaderConstants().GetRegisterCount(), 128);
    EXPECT_GT(video.GetVertexShaderConstants().GetRegisterCount(), 0);
    EXPECT_EQ(video.GetViewportWidth(), 800);
    EXPECT_EQ(video.GetViewportHeight(), 600);
    EXPECT_EQ(video.GetRenderTarget(), nullptr);
    EXPECT_EQ(video.GetDepthStencil(), nullptr);

    // What was set before reaches Direct3D again, and counts again.
    FrameStatistics& counted = video.GetFrameStatistics();
    counted = {};
    video.SetVertexShaderConstants({3, 1}, constant);
    EXPECT_EQ(counted.constantUploads, 1);
    float uploaded[4] = {};
    video.GetDirect3DDevice()->GetVertexShaderConstantF(3, uploaded, 1);
    EXPECT_EQ(uploaded[3], 4.0f);
    video.RemoveDeviceListener(&listener);
}

// Direct3D refuses a reset while a video-memory resource it was not told of
// is alive; the device then stays not reset until a presentation gets through.
TEST_F(WindowedDevice, AFailedResetIsReportedAndTriedAgainAtEveryPresent)
{
    RecordingListener listener;
    video.AddDeviceListener(&listener);
    std::unique_ptr<VertexBuffer> ring = video.CreateVertexBuffer(16, 64, true, true);
    IDirect3DTexture9* unknown = nullptr;
    ASSERT_TRUE(SUCCEEDED(video.GetDirect3DDevice()->CreateTexture(8, 8, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8,
                                                                   D3DPOOL_DEFAULT, &unknown, nullptr)));
    ScopedCapture log(kLogError);
    const auto failures = [&log] {
        return std::count(log->lines.begin(), log->lines.end(), L"D3D9Video: Reset failed!");
    };

    EXPECT_FALSE(video.Create(nullptr, {640, 480}, {}));
    EXPECT_EQ(failures(), 1);
    // Carried through all the same: the new size, the listeners, the resources.
    EXPECT_EQ(listener.heard, (std::vector<WideString>{L"lost", L"reset"}));
    EXPECT_EQ(video.GetBackBufferWidth(), 640);
    EXPECT_EQ(video.GetViewportHeight(), 480);
    EXPECT_NE(ring->GetDirect3DBuffer(), nullptr);
    EXPECT_EQ(video.GetDirect3DDevice()->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);

    video.Present();
    EXPECT_EQ(failures(), 2);
    unknown->Release();
    video.Present();
    EXPECT_EQ(failures(), 2);
    EXPECT_EQ(video.GetDirect3DDevice()->TestCooperativeLevel(), D3D_OK);

    ShowClearedFrame({0.0f, 1.0f, 0.0f, 1.0f});
    const Screenshot shot(video);
    ASSERT_TRUE(shot.taken);
    EXPECT_EQ(shot.width, 640);
    EXPECT_EQ(shot.height, 480);
    EXPECT_TRUE(shot.AllPixelsAre(0xFF00FF00));
    video.RemoveDeviceListener(&listener);
}

// Direct3D keeps no ramp for a windowed device, so the one sent is read from ours.
TEST_F(WindowedDevice, GammaRampFollowsBrightnessAndContrast)
{
    struct Case {
        float brightness;
        float contrast;
        int entry;
        WORD value;
    };
    for (const Case& c : std::initializer_list<Case>{{0.0f, 0.0f, 0, 0},
                                                    {0.0f, 0.0f, 1, 256},
                                                    {0.0f, 0.0f, 255, 65280},
                                                    {0.0f, 0.25f, 63, 0},
                                                    {0.0f, 0.25f, 200, 65535},
                                                    {0.5f, 0.0f, 0, 32767}}) {
        video.SetGamma(c.brightness, c.contrast);
        const D3DGAMMARAMP& ramp = video.GetGammaRamp();
        EXPECT_EQ(ramp.red[c.entry], c.value) << c.brightness << " " << c.contrast << " [" << c.entry << "]";
        EXPECT_EQ(ramp.green[c.entry], c.value);
        EXPECT_EQ(ramp.blue[c.entry], c.value);
    }
    // A reset sends the same ramp again.
    video.SetGamma(0.0f, 0.25f);
    ASSERT_TRUE(video.Create(nullptr, {640, 480}, {}));
    EXPECT_EQ(video.GetGammaRamp().red[0], 0);
    EXPECT_EQ(video.GetGammaRamp().red[65], 512);
}
