#pragma once
// The video device on Direct3D 9 (log prefix "D3D9Video:"). It makes one
// Direct3D device on the engine window, resets it for a new video mode or
// after the device was lost, keeps the resources that must be made again
// after a reset, and the caches through which every state reaches Direct3D.

#include "engine/video/VideoDevice.h"
#include "render/device/ComRef.h"
#include "render/device/DeviceResources.h"
#include "render/device/ShaderConstantCache.h"
#include "render/device/StateCache.h"

#include <d3d9.h>

#include <array>
#include <memory>
#include <vector>

class UserTexture;
class VertexDeclaration;
struct ShaderVariable;

class D3D9Video : public VideoDevice {
public:
    D3D9Video();
    ~D3D9Video() override;

    bool Create(dcWindow* window, VideoSize size, const std::vector<BackBufferFormat>& formats) override;
    void SetGamma(float brightness, float contrast) override;

    std::unique_ptr<TextureResource> CreateTexture(const TextureDesc& desc) override;
    std::unique_ptr<RenderSurface> CreateRenderTarget(const TextureDesc& desc) override;
    std::unique_ptr<VertexBuffer> CreateVertexBuffer(int32_t stride, int32_t count, bool dynamic,
                                                     bool hardware) override;
    std::unique_ptr<IndexBuffer> CreateIndexBuffer(int32_t indexCount, int32_t vertexCount, bool dynamic,
                                                   bool hardware) override;
    std::unique_ptr<VertexFormat> CreateVertexFormat(const std::vector<VertexElement>& elements) override;
    std::unique_ptr<DepthSurface> CreateDepthStencil(const DepthDesc& desc) override;

    void SetRenderTarget(TextureResource* target) override;
    TextureResource* GetRenderTarget() const override { return renderTarget_; }
    void SetDepthStencil(DepthSurface* surface) override;
    DepthSurface* GetDepthStencil() const override { return depthSurface_; }
    void SetViewport(const ViewportRect& rect, float minZ, float maxZ) override;

    void SetVertexStream(int32_t stream, VertexBuffer* buffer) override;
    void SetIndexBuffer(IndexBuffer* buffer) override;
    void SetVertexFormat(const VertexFormat* format) override;
    void SetTexture(int32_t stage, TextureResource* texture) override;
    void SetShader(Shader* effect, int32_t passKey, int32_t styleKey) override;
    std::unique_ptr<ShaderEffect> LoadShader(const WideString& name) override;
    void SetShaderDetail(int32_t level) override;
    void SetMaxMipLevel(int32_t level) override { maxMipLevel_ = level; }

    void BeginFrame() override;
    void Clear(uint32_t flags, const Color& color, float z, int32_t stencil) override;
    void EndFrame() override;
    void Present() override;

    void Draw(const ElementRange& vertices, int32_t type) override;
    void DrawIndexed(const ElementRange& indices, const ElementRange& vertices, int32_t type) override;
    void DrawPoint(const Vec3& position, const Color& color) override;
    void DrawLine(const Vec3& from, const Vec3& to, const Color& color) override;
    void DrawTriangle(const Vec3& a, const Vec3& b, const Vec3& c, const Color& color) override;

    bool GrabScreen(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height) override;
    bool ReadRenderTarget(TextureResource& texture, std::vector<uint32_t>& pixels) override;

    void AcquireQuery(OcclusionQuery& query) override;
    void ReleaseQuery(OcclusionQuery& query) override;
    void BeginQuery(OcclusionQuery& query) override;
    void EndQuery(OcclusionQuery& query) override;
    void UpdateQueries(bool flush) override;

    // The caches the shader and fixed-function layers set their states
    // through; each sends the value unless Direct3D already holds it.
    void SetRenderStateCached(D3DRENDERSTATETYPE state, DWORD value);
    void SetSamplerStateCached(DWORD sampler, D3DSAMPLERSTATETYPE state, DWORD value);
    void SetTextureStageStateCached(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value);
    void SetSoftwareVertexProcessingCached(bool on);
    void SetVertexShaderCached(IDirect3DVertexShader9* shader);
    void SetPixelShaderCached(IDirect3DPixelShader9* shader);
    // The variable's bytes into the registers, uploaded only when they differ
    // from what the registers hold; counted in the frame statistics.
    void SetVertexShaderConstants(const ElementRange& registers, const ShaderVariable& variable);
    void SetPixelShaderConstants(const ElementRange& registers, const ShaderVariable& variable);
    // Moves the bound vertex buffers and index buffer into system memory, for
    // a pass that must process its vertices in software.
    void ConvertBoundBuffersToSoftware();
    // The effect debug shapes are drawn with; the shader system loads it.
    void SetLineShader(std::unique_ptr<Shader> shader);
    ShaderEffect* GetLineShader() const override { return lineEffect_; }

    // CheckDeviceFormat on adapter 0 against the display format, remembered
    // until the next creation or reset.
    HRESULT CheckFormat(DWORD usage, D3DRESOURCETYPE type, D3DFORMAT format);
    // The first depth format, starting with the requested one, that the
    // adapter can pair with the colour format; D3DFMT_UNKNOWN when none.
    D3DFORMAT ChooseDepthFormat(D3DFORMAT colorFormat, D3DFORMAT requested);
    // The wanted format or the nearest the adapter supports for the use;
    // D3DFMT_UNKNOWN when none.
    D3DFORMAT ChooseTextureFormat(DWORD usage, D3DRESOURCETYPE type, D3DFORMAT wanted);

    // Called by resources as they go: whatever refers to them forgets them.
    void ReleaseTexture(const TextureResource& texture);
    void ForgetVertexBuffer(const VertexBuffer& buffer);
    void ForgetIndexBuffer(const IndexBuffer& buffer);
    void ForgetVertexDeclaration(const VertexDeclaration& declaration);
    void ForgetDepthSurface(const DepthSurface& surface);
    DeviceResources& GetResources() { return resources_; }

    // None until the first successful Create.
    IDirect3DDevice9* GetDirect3DDevice() const { return device_.Get(); }
    const D3DCAPS9& GetCaps() const { return caps_; }
    // What the shader programs are compiled for, e.g. "vs_2_0".
    const WideString& GetPixelShaderProfile() const { return pixelShaderProfile_; }
    const WideString& GetVertexShaderProfile() const { return vertexShaderProfile_; }

    // What the caches hold, for the layers that read them back.
    const RenderStateCache& GetRenderStates() const { return renderStates_; }
    const SamplerStateCache& GetSamplerStates() const { return samplerStates_; }
    const TextureStageStateCache& GetTextureStageStates() const { return textureStageStates_; }
    uint32_t GetSoftwareVertexProcessingState() const { return softwareProcessing_; }
    const ShaderConstantCache& GetVertexShaderConstants() const { return vertexConstants_; }
    const ShaderConstantCache& GetPixelShaderConstants() const { return pixelConstants_; }
    // The ramp last sent, red, green and blue alike.
    const D3DGAMMARAMP& GetGammaRamp() const { return gammaRamp_; }
    TextureResource* GetBoundTexture(int32_t stage) const;
    VertexBuffer* GetVertexStream(int32_t stream) const;

private:
    struct FormatCheck {
        DWORD usage;
        D3DRESOURCETYPE type;
        D3DFORMAT format;
        HRESULT result;
    };

    struct StreamBinding {
        VertexBuffer* buffer;
        int32_t offset;   // bytes; always 0, batches are drawn from the buffer's ring position
    };

    bool CreateDevice(VideoSize size, const std::vector<BackBufferFormat>& formats);
    bool ResetDevice(VideoSize size, const std::vector<BackBufferFormat>& formats);
    void ReadAdapter();
    void ReadShaderVersions();
    // What every creation and reset ends with: Direct3D starts over from its defaults.
    void TakeFreshDevice(VideoSize size, const std::vector<BackBufferFormat>& formats);
    void LoadLineShader();
    void ReadDefaultSurfaces();
    void ReadVideoModes();
    void ForgetStates();
    // Reads the display mode as it is now, then fills the parameters from it.
    D3DPRESENT_PARAMETERS PresentParameters(VideoSize size, const std::vector<BackBufferFormat>& formats);
    D3DFORMAT ChooseBackBufferFormat(const std::vector<BackBufferFormat>& formats);
    void ApplyGammaRamp();
    void ReapplyGammaRamp();
    // Around a reset: what lives in video memory goes and comes back.
    void UnbindAll();
    void UnbindTextureStages();
    void ReleaseDefaultPool();
    void RecreateDefaultPool();
    // Every Direct3D query, lent or pooled; the objects that had one keep their place.
    void ReleaseQueries();
    // The device is going: every resource still alive is left as an empty shell.
    void DetachResources();
    void ReleaseDevice();
    IDirect3DSurface9* TargetSurface(TextureResource* target);
    D3DFORMAT CurrentDepthFormat() const;
    void SendSamplerStates(int32_t stage, const UserTexture& texture);
    // Counts the draw and issues it once per fragment of the current effect.
    template <typename DrawCall>
    void DrawFragments(int32_t vertexCount, int32_t primitives, const DrawCall& drawCall);
    void DrawDebugShape(D3DPRIMITIVETYPE type, const Vec3* positions, int32_t count, const Color& color);

    ComRef<IDirect3D9> direct3d_;
    IDirect3DSurface9* backBuffer_ = nullptr;   // read after each creation and reset; no reference held
    D3DFORMAT backBufferFormat_ = D3DFMT_UNKNOWN;
    IDirect3DSurface9* defaultDepthSurface_ = nullptr;   // likewise; none when there is no depth buffer
    D3DFORMAT defaultDepthFormat_ = D3DFMT_UNKNOWN;
    dcWindow* window_ = nullptr;
    std::vector<BackBufferFormat> backBufferFormats_;   // as the last Create asked, for resets of its own
    std::unique_ptr<VertexFormat> lineFormat_;
    std::unique_ptr<Shader> lineShader_;
    ShaderEffect* lineEffect_ = nullptr;   // the line shader when it is the device's own effect
    D3DGAMMARAMP gammaRamp_;
    ComRef<IDirect3DDevice9> device_;
    D3DDISPLAYMODE displayMode_{};
    D3DCAPS9 caps_{};
    TextureResource* renderTarget_ = nullptr;
    DepthSurface* depthSurface_ = nullptr;

    std::vector<StreamBinding> streams_;
    IndexBuffer* indexBuffer_ = nullptr;
    const VertexDeclaration* declaration_ = nullptr;
    IDirect3DVertexShader9* vertexShader_ = nullptr;
    IDirect3DPixelShader9* pixelShader_ = nullptr;
    std::array<TextureResource*, kTextureStages> textureBindings_{};
    RenderStateCache renderStates_;
    SamplerStateCache samplerStates_;
    TextureStageStateCache textureStageStates_;
    uint32_t softwareProcessing_ = RenderStateCache::kUnknownValue;

    int32_t maxMipLevel_ = 0;
    Shader* effect_ = nullptr;
    int32_t passKey_ = 0;
    int32_t styleRow_ = -2;
    WideString pixelShaderProfile_;
    WideString vertexShaderProfile_;
    DeviceResources resources_;
    std::vector<OcclusionQuery*> queries_;   // in use, each with its Direct3D query
    std::vector<IDirect3DQuery9*> freeQueries_;
    std::vector<FormatCheck> formatChecks_;
    ShaderConstantCache vertexConstants_;
    ShaderConstantCache pixelConstants_;
};
