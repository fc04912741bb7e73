#pragma once
// Depth-stencil surfaces for drawing off screen. They live in video memory:
// the device releases them before every reset and makes them again after.

#include "engine/video/TextureFormat.h"
#include "render/device/ComRef.h"

#include <d3d9.h>

class D3D9Video;
class TextureResource;

class DepthSurface {
public:
    // The Direct3D surface is made at once; creation failures are logged and
    // leave the object without one.
    DepthSurface(D3D9Video& device, int32_t width, int32_t height, D3DFORMAT format, bool autoDiscard);
    ~DepthSurface();
    DepthSurface(const DepthSurface&) = delete;
    DepthSurface& operator=(const DepthSurface&) = delete;

    void ReleaseDirect3D() { surface_.Reset(); }
    void Recreate();
    void Detach();

    IDirect3DSurface9* GetSurface() const { return surface_.Get(); }
    D3DFORMAT GetFormat() const { return format_; }
    int32_t GetWidth() const { return width_; }
    int32_t GetHeight() const { return height_; }

private:
    D3D9Video* device_;
    ComRef<IDirect3DSurface9> surface_;
    int32_t width_;
    int32_t height_;
    D3DFORMAT format_;
    bool autoDiscard_;
};
