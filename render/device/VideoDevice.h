#pragma once
// The renderer's one gateway to the graphics hardware. The engine makes the
// one device at start-up and owns it for the whole run; every renderer
// resource is made through it, and the engine frame runs BeginFrame, Clear,
// EndFrame and Present on it once per frame. The sprite batch, the screenshot
// code and the statistics overlay read its sizes and counters from here.

#include "engine/files/WideString.h"
#include "render/device/Color.h"
#include "render/device/FrameStatistics.h"

#include <cstdint>
#include <memory>
#include <vector>

class DeviceListener;
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

class VideoDevice {
public:
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
    // Fractions of a pixel are cut off; minZ and maxZ are the depth range.
    virtual void SetViewport(const ViewportRect& rect, float minZ, float maxZ) = 0;

    // One frame: BeginFrame, Clear and drawing, EndFrame, then Present.
    virtual void BeginFrame() = 0;
    // flags: ClearFlags. Depth and stencil are cleared only where the depth buffer has them.
    virtual void Clear(uint32_t flags, const Color& color, float z, int32_t stencil) = 0;
    virtual void EndFrame() = 0;
    // Shows the frame; after a lost device it resets the device once Direct3D allows it.
    virtual void Present() = 0;

    // The frame last shown, between frames, at the size it was drawn: width x
    // height opaque 32-bit pixels (blue in the low byte), row by row from the
    // top. False, with no pixels and a size of 0, when nothing could be read.
    virtual bool GrabScreen(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height) = 0;

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

protected:
    void NotifyDeviceLost();
    void NotifyDeviceReset();
    // The hardware bits; the wireframe switch is kept.
    void SetHardwareCapabilities(uint32_t capabilities);

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
};

// The game's video device, not yet made on a window: Create comes next.
std::unique_ptr<VideoDevice> CreateVideoDevice();
