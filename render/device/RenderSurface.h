#pragma once
// A surface of its own to draw into and read back, not a texture: made by
// CreateRenderTarget, lockable for reading when asked. It lives in video
// memory, so the device releases it before a reset and makes it again
// afterwards (contents lost).

#include "engine/video/TextureResource.h"
#include "render/device/ComRef.h"

#include <d3d9.h>

class D3D9Video;

class RenderSurface : public TextureResource {
public:
    RenderSurface(D3D9Video& device, int32_t width, int32_t height, D3DFORMAT format, bool lockable);
    ~RenderSurface() override;

    float GetWidth() const override { return static_cast<float>(width_); }
    float GetHeight() const override { return static_cast<float>(height_); }
    float GetImageWidth() const override { return GetWidth(); }
    float GetImageHeight() const override { return GetHeight(); }
    int32_t GetFormat() const override { return kTextureArgb32; }
    // For reading only.
    LockedPixels Lock(const TextureRect& rect, int32_t level) override;
    void Unlock(int32_t level) override;
    bool IsValid() const override { return surface_.Get() != nullptr; }

    void ReleaseDirect3D() { surface_.Reset(); }
    void Recreate();
    void Detach();
    IDirect3DSurface9* GetSurface() const { return surface_.Get(); }

private:
    D3D9Video* device_;
    ComRef<IDirect3DSurface9> surface_;
    int32_t width_;
    int32_t height_;
    D3DFORMAT format_;
    bool lockable_;
};
