#pragma once
// The video device on Direct3D 9 (log prefix "D3D9Video:"). It makes one
// Direct3D device on the engine window, resets it for a new video mode or
// after the device was lost, and keeps the render-state cache through which
// every state reaches Direct3D.

#include "render/device/ComRef.h"
#include "render/device/GammaCurve.h"
#include "render/device/RenderStateCache.h"
#include "render/device/VideoDevice.h"

#include <d3d9.h>

#include <vector>

class D3D9Video : public VideoDevice {
public:
    D3D9Video();
    ~D3D9Video() override;

    bool Create(dcWindow* window, VideoSize size, const std::vector<BackBufferFormat>& formats) override;
    void SetGamma(float brightness, float contrast) override;
    void SetViewport(const ViewportRect& rect, float minZ, float maxZ) override;
    void BeginFrame() override;
    void Clear(uint32_t flags, const Color& color, float z, int32_t stencil) override;
    void EndFrame() override;
    void Present() override;
    bool GrabScreen(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height) override;

    // Sends the state unless Direct3D already holds the value.
    void SetRenderStateCached(D3DRENDERSTATETYPE state, DWORD value);
    // CheckDeviceFormat on adapter 0 against the display format, remembered
    // until the next creation or reset.
    HRESULT CheckFormat(DWORD usage, D3DRESOURCETYPE type, D3DFORMAT format);
    // The first depth format, starting with the requested one, that the
    // adapter can pair with the colour format; D3DFMT_UNKNOWN when none.
    D3DFORMAT ChooseDepthFormat(D3DFORMAT colorFormat, D3DFORMAT requested);

    // None until the first successful Create.
    IDirect3DDevice9* GetDirect3DDevice() const { return device_.Get(); }
    // What the shader programs are compiled for, e.g. "vs_2_0".
    const WideString& GetPixelShaderProfile() const { return pixelShaderProfile_; }
    const WideString& GetVertexShaderProfile() const { return vertexShaderProfile_; }

private:
    struct FormatCheck {
        DWORD usage;
        D3DRESOURCETYPE type;
        D3DFORMAT format;
        HRESULT result;
    };

    bool CreateDevice(VideoSize size, const std::vector<BackBufferFormat>& formats);
    bool ResetDevice(VideoSize size, const std::vector<BackBufferFormat>& formats);
    void ReadAdapter();
    void ReadShaderVersions();
    // What every creation and reset ends with: Direct3D starts over from its defaults.
    void TakeFreshDevice(VideoSize size, const std::vector<BackBufferFormat>& formats);
    void ReadDefaultDepthFormat();
    void ReadVideoModes();
    // Reads the display mode as it is now, then fills the parameters from it.
    D3DPRESENT_PARAMETERS PresentParameters(VideoSize size, const std::vector<BackBufferFormat>& formats);
    D3DFORMAT ChooseBackBufferFormat(const std::vector<BackBufferFormat>& formats);
    void ApplyGammaRamp();
    void ReapplyGammaRamp();

    ComRef<IDirect3D9> direct3d_;
    dcWindow* window_ = nullptr;
    std::vector<BackBufferFormat> backBufferFormats_;   // as the last Create asked, for resets of its own
    D3DFORMAT defaultDepthFormat_ = D3DFMT_UNKNOWN;   // D3DFMT_UNKNOWN: no depth buffer
    D3DGAMMARAMP gammaRamp_;
    ComRef<IDirect3DDevice9> device_;
    D3DDISPLAYMODE displayMode_{};
    D3DCAPS9 caps_{};
    WideString pixelShaderProfile_;
    WideString vertexShaderProfile_;
    RenderStateCache renderStates_;
    std::vector<FormatCheck> formatChecks_;
};
