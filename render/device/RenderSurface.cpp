#include "render/device/RenderSurface.h"

#include "render/device/D3D9Video.h"

RenderSurface::RenderSurface(D3D9Video& device, int32_t width, int32_t height, D3DFORMAT format, bool lockable)
    : TextureResource(kTextureKindRenderSurface)
    , device_(&device)
    , width_(width)
    , height_(height)
    , format_(format)
    , lockable_(lockable)
{
    device.GetResources().renderSurfaces.push_back(this);
    Recreate();
}

RenderSurface::~RenderSurface()
{
    if (device_) {
        std::erase(device_->GetResources().renderSurfaces, this);
        device_->ReleaseTexture(*this);
    }
}

void RenderSurface::Recreate()
{
    IDirect3DDevice9* direct3d = device_ ? device_->GetDirect3DDevice() : nullptr;
    if (direct3d) {
        direct3d->CreateRenderTarget(static_cast<UINT>(width_), static_cast<UINT>(height_), format_,
                                     D3DMULTISAMPLE_NONE, 0, lockable_, surface_.Receive(), nullptr);
    }
}

void RenderSurface::Detach()
{
    surface_.Reset();
    device_ = nullptr;
}

LockedPixels RenderSurface::Lock(const TextureRect& rect, int32_t level)
{
    const RECT area{rect.left, rect.top, rect.right, rect.bottom};
    D3DLOCKED_RECT locked{};
    if (!surface_ || FAILED(surface_->LockRect(&locked, &area, D3DLOCK_READONLY))) {
        return {};
    }
    return {locked.pBits, locked.Pitch};
}

void RenderSurface::Unlock(int32_t level)
{
    if (surface_) {
        surface_->UnlockRect();
    }
}
