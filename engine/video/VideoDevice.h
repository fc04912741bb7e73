#pragma once
// The one gateway to the graphics hardware. The engine makes the one device
// at start-up and owns it for the whole run; every renderer resource is made
// through it, and the engine frame runs BeginFrame, Clear, EndFrame and
// Present on it once per frame. The sprite batch, the screenshot code, the
// statistics overlay, the console and the menus read its sizes and counters
// from here.
//
// Declared here so that the engine draws without knowing the renderer: the
// renderer implements it (D3D9Video) and defines the resources it hands out
// (buffers, vertex formats, surfaces, effects, queries) and the camera it
// measures with, which this interface only names.
//
// Resources it hands out belong to the caller. They should go before the
// device does; any that outlive it are left as empty shells.

#include "engine/files/WideString.h"
#include "engine/math/BoundingBox.h"
#include "engine/math/Color.h"
#include "engine/math/Vec3.h"
#include "engine/video/ElementRange.h"
#include "engine/video/FrameStatistics.h"
#include "engine/video/TextureFormat.h"
#include "engine/video/VertexElement.h"

#include <cstdint>
#include <memory>
#include <vector>

class Camera;
class DepthSurface;
class DeviceListener;
class ShaderEffect;
class IndexBuffer;
class OcclusionQuery;
class RenderSurface;
class Shader;
class TextureResource;
class VertexBuffer;
class VertexFormat;
class dcWindow;

struct VideoSize {
    int32_t width;
    int32_t height;
};

// Formats a back buffer can have, for callers to list in order of preference.
enum class BackBufferFormat : int32_t {
    kArgb32,   // 8 bits each of alpha, red, green and blue
    kXrgb32,   // the same without alpha
};

// A full-screen mode the adapter offers.
struct VideoMode {
    int32_t width;
    int32_t height;
    int32_t bits;
};

struct ViewportRect {
    float left;
    float top;
    float right;
    float bottom;
};

enum VideoCapability : uint32_t {
    kCapabilityHardwareVertexShaders = 1u << 0,
    kCapabilityHardwareTransform = 1u << 1,   // transform and lighting
    kCapabilityWireframe = 1u << 2,           // the player's WIREFRAME switch, read by BeginFrame
};

// What Clear clears.
enum ClearFlags : uint32_t {
    kClearTarget = 1u << 0,
    kClearDepth = 1u << 1,
    kClearStencil = 1u << 2,
};

// Direct3D's primitive types.
enum PrimitiveType : int32_t {
    kPointList = 1,
    kLineList = 2,
    kLineStrip = 3,
    kTriangleList = 4,
    kTriangleStrip = 5,
    kTriangleFan = 6,
};

// The primitives count vertices or indices make; 0 for a type that is none of ours.
int32_t PrimitiveCount(int32_t type, int32_t count);

// Every texture handed out under one name: the first is the one decoded, the
// others share its pixels.
struct TextureCacheEntry {
    WideString name;
    std::vector<TextureResource*> textures;
};

class VideoDevice {
public:
    static constexpr int32_t kTextureStages = 16;

    VideoDevice() = default;
    virtual ~VideoDevice() = default;
    VideoDevice(const VideoDevice&) = delete;
    VideoDevice& operator=(const VideoDevice&) = delete;

    // The first successful call makes the device on the window; later calls
    // reset it to the new size, on the window given before when none is
    // given. The back buffer takes the first of the formats the adapter
    // accepts; none listed means 32 bits with alpha, else without. False when
    // the device could not be made or reset. A device that was never made
    // draws nothing, and the game cannot run on it.
    virtual bool Create(dcWindow* window, VideoSize size, const std::vector<BackBufferFormat>& formats) = 0;
    // Brightness and contrast from the options screen, 0 to 1.
    virtual void SetGamma(float brightness, float contrast) = 0;

    // Resources. None when the adapter offers no format for the texture.
    virtual std::unique_ptr<TextureResource> CreateTexture(const TextureDesc& desc) = 0;
    // A surface to draw into and read back: the desc's image size and
    // format; its dynamic flag makes it lockable.
    virtual std::unique_ptr<RenderSurface> CreateRenderTarget(const TextureDesc& desc) = 0;
    // Dynamic buffers are refilled as rings; hardware ones are read by the
    // adapter's own vertex processing, others by software.
    virtual std::unique_ptr<VertexBuffer> CreateVertexBuffer(int32_t stride, int32_t count, bool dynamic,
                                                             bool hardware) = 0;
    // 32-bit indices only when vertexCount needs them.
    virtual std::unique_ptr<IndexBuffer> CreateIndexBuffer(int32_t indexCount, int32_t vertexCount, bool dynamic,
                                                           bool hardware) = 0;
    virtual std::unique_ptr<VertexFormat> CreateVertexFormat(const std::vector<VertexElement>& elements) = 0;
    // Kept, without a surface, when Direct3D refuses it.
    virtual std::unique_ptr<DepthSurface> CreateDepthStencil(const DepthDesc& desc) = 0;

    // Where drawing goes: a 2D texture, a cube face or a render surface;
    // none for the back buffer. The viewport becomes the whole target, and
    // every texture stage is unbound.
    virtual void SetRenderTarget(TextureResource* target) = 0;
    virtual TextureResource* GetRenderTarget() const = 0;
    // None: the back buffer's own depth buffer.
    virtual void SetDepthStencil(DepthSurface* surface) = 0;
    virtual DepthSurface* GetDepthStencil() const = 0;
    // Fractions of a pixel are cut off; minZ and maxZ are the depth range.
    virtual void SetViewport(const ViewportRect& rect, float minZ, float maxZ) = 0;

    // Bindings, each sent only when it changes. Unbinding a stream unbinds
    // every stream above it too.
    virtual void SetVertexStream(int32_t stream, VertexBuffer* buffer) = 0;
    virtual void SetIndexBuffer(IndexBuffer* buffer) = 0;
    virtual void SetVertexFormat(const VertexFormat* format) = 0;
    virtual void SetTexture(int32_t stage, TextureResource* texture) = 0;
    // The effect later draws run through, with the pass and style they draw.
    virtual void SetShader(Shader* effect, int32_t passKey, int32_t styleKey) = 0;
    // A shader effect of the "Shaders" folder, made for this device.
    virtual std::unique_ptr<ShaderEffect> LoadShader(const WideString& name) = 0;
    // The detail level every effect chooses its techniques for (0 is the finest).
    virtual void SetShaderDetail(int32_t level) = 0;
    // The effect the debug points, lines and triangles draw with, or none.
    virtual ShaderEffect* GetLineShader() const = 0;
    // The finest mip level textures bound from now on may use (0: full detail).
    virtual void SetMaxMipLevel(int32_t level) = 0;

    // One frame: BeginFrame, Clear and drawing, EndFrame, then Present.
    virtual void BeginFrame() = 0;
    // flags: ClearFlags. Depth and stencil are cleared only where the depth buffer has them.
    virtual void Clear(uint32_t flags, const Color& color, float z, int32_t stencil) = 0;
    virtual void EndFrame() = 0;
    // Shows the frame; after a lost device it resets the device once
    // Direct3D allows it. Then it re-reads the DFEngine textures drawn since
    // the last presentation.
    virtual void Present() = 0;

    // Drawing from the bound streams through the current effect, one draw
    // per fragment of its pass. type: PrimitiveType.
    virtual void Draw(const ElementRange& vertices, int32_t type) = 0;
    virtual void DrawIndexed(const ElementRange& indices, const ElementRange& vertices, int32_t type) = 0;
    // Debug shapes through the line effect; they count nothing.
    virtual void DrawPoint(const Vec3& position, const Color& color) = 0;
    virtual void DrawLine(const Vec3& from, const Vec3& to, const Color& color) = 0;
    virtual void DrawTriangle(const Vec3& a, const Vec3& b, const Vec3& c, const Color& color) = 0;

    // The frame last shown, between frames, at the size it was drawn: width x
    // height opaque 32-bit pixels (blue in the low byte), row by row from the
    // top. False, with no pixels and a size of 0, when nothing could be read.
    virtual bool GrabScreen(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height) = 0;
    // A 32-bit 2D texture's picture, as drawn into it: image width x image
    // height pixels, row by row. False for other textures or when it cannot be read.
    virtual bool ReadRenderTarget(TextureResource& texture, std::vector<uint32_t>& pixels) = 0;

    // Occlusion queries: a query is lent for as long as its object needs it.
    virtual void AcquireQuery(OcclusionQuery& query) = 0;
    virtual void ReleaseQuery(OcclusionQuery& query) = 0;
    virtual void BeginQuery(OcclusionQuery& query) = 0;
    virtual void EndQuery(OcclusionQuery& query) = 0;
    // Hands over the answers that have arrived; flush makes the driver hurry.
    virtual void UpdateQueries(bool flush) = 0;

    void AddDeviceListener(DeviceListener* listener);
    void RemoveDeviceListener(DeviceListener* listener);

    bool HasCapability(VideoCapability capability) const { return (capabilities_ & capability) != 0; }
    bool IsWireframe() const { return HasCapability(kCapabilityWireframe); }
    void SetWireframe(bool on)
    {
        capabilities_ = on ? capabilities_ | kCapabilityWireframe : capabilities_ & ~kCapabilityWireframe;
    }

    // The back-buffer size the last creation or reset asked for.
    int32_t GetBackBufferWidth() const { return backBufferSize_.width; }
    int32_t GetBackBufferHeight() const { return backBufferSize_.height; }
    const ViewportRect& GetViewport() const { return viewport_; }
    int32_t GetViewportWidth() const { return viewportWidth_; }
    int32_t GetViewportHeight() const { return viewportHeight_; }

    // The object the game is about to draw and the camera that sees it: the
    // draws that follow tell the DFEngine items they show how large they
    // appeared. No camera (the default) means no measurement. The camera must
    // outlive its use here; set none before it goes.
    void SetMeasuredObject(const Camera* camera, const BoundingBox& box)
    {
        measuredCamera_ = camera;
        measuredBox_ = box;
    }
    const Camera* GetMeasuredCamera() const { return measuredCamera_; }
    const BoundingBox& GetMeasuredBox() const { return measuredBox_; }

    // Counted by the drawing and state code; zeroed by BeginFrame.
    FrameStatistics& GetFrameStatistics() { return statistics_; }
    const FrameStatistics& GetFrameStatistics() const { return statistics_; }

    const WideString& GetDriverName() const { return driverName_; }
    const WideString& GetAdapterDescription() const { return adapterDescription_; }
    uint32_t GetVendorId() const { return vendorId_; }
    uint32_t GetDeviceId() const { return deviceId_; }
    // Major x 10 + minor.
    int32_t GetPixelShaderVersion() const { return pixelShaderVersion_; }
    int32_t GetVertexShaderVersion() const { return vertexShaderVersion_; }
    const std::vector<VideoMode>& GetVideoModes() const { return videoModes_; }

    // The textures handed out by name (GetTexture), in the order first asked for.
    std::vector<TextureCacheEntry>& GetTextureCache() { return textureCache_; }

protected:
    void NotifyDeviceLost();
    void NotifyDeviceReset();
    // The hardware bits; the wireframe switch is kept.
    void SetHardwareCapabilities(uint32_t capabilities);
    // Takes a texture that is going out of every cache entry, and empty entries out of the cache.
    void ForgetCachedTexture(const TextureResource& texture);

    VideoSize backBufferSize_{0, 0};
    ViewportRect viewport_{0.0f, 0.0f, 0.0f, 0.0f};
    int32_t viewportWidth_ = 0;
    int32_t viewportHeight_ = 0;
    FrameStatistics statistics_;
    WideString driverName_;
    WideString adapterDescription_;
    uint32_t vendorId_ = 0;
    uint32_t deviceId_ = 0;
    int32_t pixelShaderVersion_ = 0;
    int32_t vertexShaderVersion_ = 0;
    std::vector<VideoMode> videoModes_;

private:
    uint32_t capabilities_ = 0;
    std::vector<DeviceListener*> listeners_;
    std::vector<TextureCacheEntry> textureCache_;
    const Camera* measuredCamera_ = nullptr;
    BoundingBox measuredBox_{};
};

// The game's video device, not yet made on a window: Create comes next. The
// texture factory learns to read ".DCT" files first.
std::unique_ptr<VideoDevice> CreateVideoDevice();
