#include "render/device/D3D9Video.h"

#include "engine/core/LogHub.h"
#include "engine/core/dcWindow.h"
#include "engine/video/Shader.h"
#include "render/device/DFTexture.h"
#include "render/device/DepthSurface.h"
#include "render/device/DeviceTexture.h"
#include "render/device/GammaCurve.h"
#include "render/device/IndexBuffer.h"
#include "render/device/OcclusionQuery.h"
#include "render/device/RenderSurface.h"
#include "render/device/ShaderVersion.h"
#include "render/device/TextureLoader.h"
#include "render/device/TransformCache.h"
#include "render/device/VertexBuffer.h"
#include "render/device/VertexFormat.h"
#include "render/device/VertexProcessing.h"
#include "render/shaders/FixedFunctionDescription.h"
#include "render/shaders/ShaderEffect.h"

namespace {

constexpr D3DFORMAT kRequestedDepthFormat = D3DFMT_D24S8;
// The only full-screen modes the game offers.
constexpr D3DFORMAT kVideoModeFormat = D3DFMT_X8R8G8B8;
constexpr int32_t kVideoModeBits = 32;
constexpr int32_t kPixelShaderRegisters = 128;

const std::vector<BackBufferFormat> kDefaultBackBufferFormats{BackBufferFormat::kArgb32, BackBufferFormat::kXrgb32};

// Debug shapes: a position and a colour.
const std::vector<VertexElement> kLineVertexElements{
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
};

D3DFORMAT Direct3DFormat(BackBufferFormat format)
{
    return format == BackBufferFormat::kArgb32 ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
}

bool IsDrawableSize(VideoSize size)
{
    return size.width > 0 && size.height > 0;
}

void SetGammaChannels(D3DGAMMARAMP& ramp, const GammaCurve& curve)
{
    for (size_t k = 0; k < curve.size(); ++k) {
        ramp.red[k] = curve[k];
        ramp.green[k] = curve[k];
        ramp.blue[k] = curve[k];
    }
}

} // namespace

std::unique_ptr<VideoDevice> CreateVideoDevice()
{
    RegisterTextureLoaders();
    return std::make_unique<D3D9Video>();
}

D3D9Video::D3D9Video()
    : direct3d_(Direct3DCreate9(D3D_SDK_VERSION))
{
    SetGammaChannels(gammaRamp_, IdentityGammaCurve());
}

D3D9Video::~D3D9Video()
{
    if (device_) {
        UnbindAll();
    }
    lineShader_.reset();
    lineFormat_.reset();
    DetachResources();
    for (OcclusionQuery* query : queries_) {
        query->device_ = nullptr;
    }
    ReleaseQueries();
    ReleaseDevice();
}

// Whatever still holds the device at the end keeps Direct3D's worker thread
// running into the program's exit, where it can stall the process: say so.
void D3D9Video::ReleaseDevice()
{
    IDirect3DDevice9* device = device_.Get();
    if (!device) {
        return;
    }
    device->AddRef();
    device_.Reset();
    const ULONG holders = device->Release();
    if (holders != 0) {
        LogHub::PrintError("D3D9Video: %lu references still hold the device at shutdown.", holders);
    }
}

// A failed creation leaves no device behind: every frame operation then does
// nothing, and a later Create tries again from the start.
bool D3D9Video::Create(dcWindow* window, VideoSize size, const std::vector<BackBufferFormat>& formats)
{
    if (window) {
        window_ = window;
    }
    if (device_) {
        return IsDrawableSize(size) && ResetDevice(size, formats);
    }
    if (direct3d_ && window_ && IsDrawableSize(size) && CreateDevice(size, formats)) {
        return true;
    }
    LogHub::PrintError("D3D9Video: Cannot create renderer.");
    return false;
}

bool D3D9Video::CreateDevice(VideoSize size, const std::vector<BackBufferFormat>& formats)
{
    D3DPRESENT_PARAMETERS parameters = PresentParameters(size, formats);
    ReadAdapter();
    const VertexProcessing processing = ChooseVertexProcessing(caps_, vendorId_, deviceId_);
    if (FAILED(direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_->GetHandle(), processing.behaviour,
                                       &parameters, device_.Receive()))) {
        return false;
    }
    LogHub::PrintVerbose("D3D9Video: Created renderer.");
    SetHardwareCapabilities(processing.capabilities);
    device_->GetDeviceCaps(&caps_);
    vertexConstants_.Resize(processing.constantRegisters);
    pixelConstants_.Resize(kPixelShaderRegisters);
    ReadShaderVersions();
    backBufferSize_ = size;
    lineFormat_ = CreateVertexFormat(kLineVertexElements);
    maxMipLevel_ = 0;
    TakeFreshDevice(size, formats);
    LoadLineShader();
    return true;
}

void D3D9Video::ReadAdapter()
{
    direct3d_->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps_);
    D3DADAPTER_IDENTIFIER9 identifier{};
    direct3d_->GetAdapterIdentifier(D3DADAPTER_DEFAULT, 0, &identifier);
    driverName_ = WideStringFromChars(identifier.Driver, -1);
    adapterDescription_ = WideStringFromChars(identifier.Description, -1);
    vendorId_ = identifier.VendorId;
    deviceId_ = identifier.DeviceId;
}

void D3D9Video::ReadShaderVersions()
{
    const ShaderVersion pixelShader = DescribeShaderVersion("ps_%d_%d", caps_.PixelShaderVersion);
    const ShaderVersion vertexShader = DescribeShaderVersion("vs_%d_%d", caps_.VertexShaderVersion);
    pixelShaderProfile_ = pixelShader.profile;
    vertexShaderProfile_ = vertexShader.profile;
    pixelShaderVersion_ = pixelShader.number;
    vertexShaderVersion_ = vertexShader.number;
    LogHub::PrintVerbose("D3D9Video: PixelShaderVersion = %s", pixelShaderProfile_.c_str());
    LogHub::PrintVerbose("D3D9Video: VertexShaderVersion = %s", vertexShaderProfile_.c_str());
}

// A request while the device is lost is refused: the next Present resets it
// at the old size once Direct3D allows, and the caller may ask again.
bool D3D9Video::ResetDevice(VideoSize size, const std::vector<BackBufferFormat>& formats)
{
    if (device_->TestCooperativeLevel() == D3DERR_DEVICELOST) {
        return false;
    }
    D3DPRESENT_PARAMETERS parameters = PresentParameters(size, formats);
    NotifyDeviceLost();
    UnbindAll();
    ResetTransformCaches();
    ReleaseDefaultPool();
    const bool reset = SUCCEEDED(device_->Reset(&parameters));
    if (!reset) {
        // Carried on all the same: the next Present finds the device not
        // reset and tries again at this size.
        LogHub::PrintError("D3D9Video: Reset failed!");
    }
    backBufferSize_ = size;
    RecreateDefaultPool();
    ReapplyGammaRamp();
    // Fresh before the listeners hear of it, so what they make again is not forgotten.
    TakeFreshDevice(size, formats);
    NotifyDeviceReset();
    return reset;
}

void D3D9Video::UnbindAll()
{
    UnbindTextureStages();
    SetVertexStream(0, nullptr);
    SetIndexBuffer(nullptr);
    SetVertexFormat(nullptr);
    SetShader(nullptr, 0, 0);
    SetVertexShaderCached(nullptr);
    SetPixelShaderCached(nullptr);
}

void D3D9Video::UnbindTextureStages()
{
    for (int32_t stage = 0; stage < kTextureStages; ++stage) {
        SetTexture(stage, nullptr);
    }
}

void D3D9Video::ReleaseDefaultPool()
{
    for (DeviceTexture* texture : resources_.textures) {
        if (texture->IsInDefaultPool()) {
            texture->ReleaseDirect3D();
        }
    }
    for (VertexBuffer* buffer : resources_.vertexBuffers) {
        if (buffer->IsInDefaultPool()) {
            buffer->ReleaseDirect3D();
        }
    }
    for (IndexBuffer* buffer : resources_.indexBuffers) {
        if (buffer->IsInDefaultPool()) {
            buffer->ReleaseDirect3D();
        }
    }
    for (DepthSurface* surface : resources_.depthSurfaces) {
        surface->ReleaseDirect3D();
    }
    for (RenderSurface* surface : resources_.renderSurfaces) {
        surface->ReleaseDirect3D();
    }
    ReleaseQueries();
}

// A query that cannot be made again stays listed without one: its object
// then hears nothing until the next reset gives it another.
void D3D9Video::RecreateDefaultPool()
{
    for (OcclusionQuery* query : queries_) {
        if (FAILED(device_->CreateQuery(D3DQUERYTYPE_OCCLUSION, &query->query_))) {
            query->query_ = nullptr;
        }
    }
    for (DeviceTexture* texture : resources_.textures) {
        if (texture->IsInDefaultPool()) {
            texture->Recreate();
        }
    }
    for (VertexBuffer* buffer : resources_.vertexBuffers) {
        if (buffer->IsInDefaultPool()) {
            buffer->Recreate();
        }
    }
    for (IndexBuffer* buffer : resources_.indexBuffers) {
        if (buffer->IsInDefaultPool()) {
            buffer->Recreate();
        }
    }
    for (DepthSurface* surface : resources_.depthSurfaces) {
        surface->Recreate();
    }
    for (RenderSurface* surface : resources_.renderSurfaces) {
        surface->Recreate();
    }
}

void D3D9Video::DetachResources()
{
    for (DeviceTexture* texture : std::vector<DeviceTexture*>(resources_.textures)) {
        texture->Detach();
    }
    for (VertexBuffer* buffer : resources_.vertexBuffers) {
        buffer->Detach();
    }
    for (IndexBuffer* buffer : resources_.indexBuffers) {
        buffer->Detach();
    }
    for (VertexDeclaration* declaration : resources_.declarations) {
        declaration->Detach();
    }
    for (DepthSurface* surface : resources_.depthSurfaces) {
        surface->Detach();
    }
    for (RenderSurface* surface : resources_.renderSurfaces) {
        surface->Detach();
    }
    resources_ = {};
}

void D3D9Video::TakeFreshDevice(VideoSize size, const std::vector<BackBufferFormat>& formats)
{
    backBufferSize_ = size;
    backBufferFormats_ = formats;
    SetViewport({0.0f, 0.0f, static_cast<float>(size.width), static_cast<float>(size.height)}, 0.0f, 1.0f);
    formatChecks_.clear();
    ReadDefaultSurfaces();
    vertexConstants_.Forget();
    pixelConstants_.Forget();
    renderTarget_ = nullptr;
    depthSurface_ = nullptr;
    ForgetStates();
    // The fixed-function state Direct3D held went with the old device.
    ResetTransformCaches();
    ForgetFixedFunctionState();
    ReadVideoModes();
}

void D3D9Video::ForgetStates()
{
    renderStates_.Forget();
    samplerStates_.Forget();
    textureStageStates_.Forget();
    softwareProcessing_ = RenderStateCache::kUnknownValue;
}

// Direct3D keeps both surfaces alive while the device lives; holding no
// reference lets a reset release them.
void D3D9Video::ReadDefaultSurfaces()
{
    ComRef<IDirect3DSurface9> backBuffer;
    D3DSURFACE_DESC description{};
    backBuffer_ = nullptr;
    backBufferFormat_ = D3DFMT_UNKNOWN;
    if (SUCCEEDED(device_->GetRenderTarget(0, backBuffer.Receive())) && SUCCEEDED(backBuffer->GetDesc(&description))) {
        backBuffer_ = backBuffer.Get();
        backBufferFormat_ = description.Format;
    }
    ComRef<IDirect3DSurface9> depth;
    defaultDepthSurface_ = nullptr;
    defaultDepthFormat_ = D3DFMT_UNKNOWN;
    if (SUCCEEDED(device_->GetDepthStencilSurface(depth.Receive())) && SUCCEEDED(depth->GetDesc(&description))) {
        defaultDepthSurface_ = depth.Get();
        defaultDepthFormat_ = description.Format;
    }
}

void D3D9Video::ReadVideoModes()
{
    videoModes_.clear();
    const UINT count = direct3d_->GetAdapterModeCount(D3DADAPTER_DEFAULT, kVideoModeFormat);
    for (UINT i = 0; i < count; ++i) {
        D3DDISPLAYMODE mode{};
        if (SUCCEEDED(direct3d_->EnumAdapterModes(D3DADAPTER_DEFAULT, kVideoModeFormat, i, &mode))) {
            videoModes_.push_back(
                {static_cast<int32_t>(mode.Width), static_cast<int32_t>(mode.Height), kVideoModeBits});
        }
    }
}

D3DPRESENT_PARAMETERS D3D9Video::PresentParameters(VideoSize size, const std::vector<BackBufferFormat>& formats)
{
    direct3d_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &displayMode_);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = static_cast<UINT>(size.width);
    parameters.BackBufferHeight = static_cast<UINT>(size.height);
    parameters.BackBufferFormat = ChooseBackBufferFormat(formats);
    parameters.BackBufferCount = 1;
    parameters.MultiSampleType = D3DMULTISAMPLE_NONE;
    // Copied rather than discarded, the back buffer still holds the frame
    // last shown, which is what a screenshot reads.
    parameters.SwapEffect = D3DSWAPEFFECT_COPY;
    parameters.hDeviceWindow = window_->GetHandle();
    parameters.Windowed = !window_->IsFullScreen();
    // Without a depth format the game still shows its menus.
    parameters.AutoDepthStencilFormat = ChooseDepthFormat(parameters.BackBufferFormat, kRequestedDepthFormat);
    parameters.EnableAutoDepthStencil = parameters.AutoDepthStencilFormat != D3DFMT_UNKNOWN;
    parameters.Flags = parameters.EnableAutoDepthStencil ? D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL : 0;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return parameters;
}

// When the adapter accepts none of them the first is tried all the same, and
// creation reports the failure.
D3DFORMAT D3D9Video::ChooseBackBufferFormat(const std::vector<BackBufferFormat>& formats)
{
    const std::vector<BackBufferFormat>& candidates = formats.empty() ? kDefaultBackBufferFormats : formats;
    const BOOL windowed = !window_->IsFullScreen();
    // In a window the back buffer is copied to the desktop; full screen, the
    // display runs the mode's own 32-bit format.
    const D3DFORMAT displayFormat = windowed ? displayMode_.Format : kVideoModeFormat;
    for (BackBufferFormat candidate : candidates) {
        if (SUCCEEDED(direct3d_->CheckDeviceType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, displayFormat,
                                                 Direct3DFormat(candidate), windowed))) {
            return Direct3DFormat(candidate);
        }
    }
    return Direct3DFormat(candidates.front());
}

void D3D9Video::Present()
{
    if (device_) {
        switch (device_->TestCooperativeLevel()) {
        case D3D_OK:
            device_->Present(nullptr, nullptr, nullptr, nullptr);
            UpdateQueries(false);
            break;
        case D3DERR_DEVICENOTRESET:
            Create(nullptr, backBufferSize_, backBufferFormats_);
            break;
        default:
            LogHub::PrintVerbose("D3D9Video: Device is lost");
            break;
        }
    }
    RefreshDrawnDFTextures();
}

void D3D9Video::SetGamma(float brightness, float contrast)
{
    SetGammaChannels(gammaRamp_, BuildGammaCurve(brightness, contrast));
    ApplyGammaRamp();
}

void D3D9Video::ApplyGammaRamp()
{
    if (device_) {
        device_->SetGammaRamp(0, D3DSGR_NO_CALIBRATION, &gammaRamp_);
    }
}

// Drivers skip a ramp equal to the one they hold, and after a reset the one
// they hold may not be the one on the screen: a different ramp first forces
// the real one through.
void D3D9Video::ReapplyGammaRamp()
{
    const WORD first = gammaRamp_.red[0];
    gammaRamp_.red[0] = static_cast<WORD>(255 - first);
    ApplyGammaRamp();
    gammaRamp_.red[0] = first;
    ApplyGammaRamp();
}

std::unique_ptr<ShaderEffect> D3D9Video::LoadShader(const WideString& name)
{
    return std::make_unique<ShaderEffect>(*this, name);
}

void D3D9Video::SetShaderDetail(int32_t level)
{
    SetShaderDetailLevel(level);
}

// The debug shapes draw with "dcLine.DCS"; callers give it their camera
// through its parent block.
void D3D9Video::LoadLineShader()
{
    std::unique_ptr<ShaderEffect> effect = LoadShader(L"dcLine.DCS");
    ShaderEffect* loaded = effect.get();
    SetLineShader(std::move(effect));
    lineEffect_ = loaded;
}

void D3D9Video::SetLineShader(std::unique_ptr<Shader> shader)
{
    if (effect_ == lineShader_.get()) {
        SetShader(nullptr, 0, 0);
    }
    lineEffect_ = nullptr;
    lineShader_ = std::move(shader);
}
