// Screenshots read the back buffer, which keeps the frame last presented
// (the device copies it to the screen rather than discarding it). Unlike the
// front buffer, it is the frame at its own size wherever the window lies and
// whatever covers it.

#include "render/device/D3D9Video.h"

#include <cstring>

namespace {

// The screen shows no alpha, so neither does a picture of it.
constexpr uint32_t kOpaque = 0xFF000000;

// Back buffers are 32-bit (BackBufferFormat), four bytes a pixel.
void CopyOpaqueRows(const D3DLOCKED_RECT& locked, int32_t width, int32_t height, std::vector<uint32_t>& pixels)
{
    pixels.resize(static_cast<size_t>(width) * height);
    const auto* row = static_cast<const unsigned char*>(locked.pBits);
    for (int32_t y = 0; y < height; ++y, row += locked.Pitch) {
        uint32_t* out = &pixels[static_cast<size_t>(y) * width];
        std::memcpy(out, row, static_cast<size_t>(width) * sizeof(uint32_t));
        for (int32_t x = 0; x < width; ++x) {
            out[x] |= kOpaque;
        }
    }
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
    CopyOpaqueRows(locked, width, height, pixels);
    copy->UnlockRect();
    return true;
}
