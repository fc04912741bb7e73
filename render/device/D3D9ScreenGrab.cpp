// Reading pixels back. Screenshots read the back buffer, which keeps the
// frame last presented (the device copies it to the screen rather than
// discarding it). Unlike the front buffer, it is the frame at its own size
// wherever the window lies and whatever covers it.

#include "render/device/D3D9Video.h"

#include "render/device/Texture2D.h"

#include <cstring>

namespace {

// The screen shows no alpha, so neither does a picture of it.
constexpr uint32_t kOpaque = 0xFF000000;

void CopyRows(const D3DLOCKED_RECT& locked, int32_t width, int32_t height, std::vector<uint32_t>& pixels)
{
    pixels.resize(static_cast<size_t>(width) * height);
    const auto* row = static_cast<const unsigned char*>(locked.pBits);
    for (int32_t y = 0; y < height; ++y, row += locked.Pitch) {
        std::memcpy(&pixels[static_cast<size_t>(y) * width], row, static_cast<size_t>(width) * sizeof(uint32_t));
    }
}

bool IsFourBytesAPixel(D3DFORMAT format)
{
    return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8;
}

} // namespace

bool D3D9Video::GrabScreen(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height)
{
    pixels.clear();
    width = 0;
    height = 0;
    ComRef<IDirect3DSurface9> backBuffer;
    D3DSURFACE_DESC description{};
    if (!device_ || FAILED(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.Receive()))
        || FAILED(backBuffer->GetDesc(&description))) {
        return false;
    }
    ComRef<IDirect3DSurface9> copy;
    D3DLOCKED_RECT locked{};
    if (FAILED(device_->CreateOffscreenPlainSurface(description.Width, description.Height, description.Format,
                                                    D3DPOOL_SYSTEMMEM, copy.Receive(), nullptr))
        || FAILED(device_->GetRenderTargetData(backBuffer.Get(), copy.Get()))
        || FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        return false;
    }
    width = static_cast<int32_t>(description.Width);
    height = static_cast<int32_t>(description.Height);
    // Back buffers are 32-bit (BackBufferFormat).
    CopyRows(locked, width, height, pixels);
    copy->UnlockRect();
    for (uint32_t& pixel : pixels) {
        pixel |= kOpaque;
    }
    return true;
}

// Only 32-bit textures are read: the pixels handed out are 32-bit, and other
// formats would need converting.
bool D3D9Video::ReadRenderTarget(TextureResource& texture, std::vector<uint32_t>& pixels)
{
    pixels.clear();
    if (!device_ || texture.GetKind() != kTextureKind2D) {
        return false;
    }
    const DeviceTexture2D& deviceTexture = *static_cast<Texture2D&>(texture).GetDeviceTexture();
    const int32_t width = static_cast<int32_t>(texture.GetImageWidth());
    const int32_t height = static_cast<int32_t>(texture.GetImageHeight());
    ComRef<IDirect3DSurface9> level;
    if (!deviceTexture.GetTexture() || !IsFourBytesAPixel(deviceTexture.GetFormat())
        || FAILED(deviceTexture.GetTexture()->GetSurfaceLevel(0, level.Receive()))) {
        return false;
    }
    ComRef<IDirect3DSurface9> copy;
    D3DLOCKED_RECT locked{};
    if (FAILED(device_->CreateOffscreenPlainSurface(static_cast<UINT>(width), static_cast<UINT>(height),
                                                    deviceTexture.GetFormat(), D3DPOOL_SYSTEMMEM, copy.Receive(),
                                                    nullptr))
        || FAILED(device_->GetRenderTargetData(level.Get(), copy.Get()))
        || FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        return false;
    }
    CopyRows(locked, width, height, pixels);
    copy->UnlockRect();
    return true;
}
