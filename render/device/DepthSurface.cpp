#include "render/device/DepthSurface.h"

#include "engine/core/LogHub.h"
#include "render/device/D3D9Video.h"

DepthSurface::DepthSurface(D3D9Video& device, int32_t width, int32_t height, D3DFORMAT format, bool autoDiscard)
    : device_(&device)
    , width_(width)
    , height_(height)
    , format_(format)
    , autoDiscard_(autoDiscard)
{
    Recreate();
    device.GetResources().depthSurfaces.push_back(this);
}

DepthSurface::~DepthSurface()
{
    if (device_) {
        std::erase(device_->GetResources().depthSurfaces, this);
        device_->ForgetDepthSurface(*this);
    }
}

void DepthSurface::Recreate()
{
    IDirect3DDevice9* direct3d = device_ ? device_->GetDirect3DDevice() : nullptr;
    if (direct3d
        && SUCCEEDED(direct3d->CreateDepthStencilSurface(static_cast<UINT>(width_), static_cast<UINT>(height_), format_,
                                                         D3DMULTISAMPLE_NONE, 0, autoDiscard_, surface_.Receive(),
                                                         nullptr))) {
        LogHub::PrintVerbose("D3D9Video: DepthStencil surface created");
        return;
    }
    LogHub::PrintError("D3D9Video: Failed creating DepthStencil surface");
    LogHub::PrintError("D3D9Video: Size = %d, %d", width_, height_);
    LogHub::PrintError("D3D9Video: Format = %d", static_cast<int>(format_));
    LogHub::PrintError("D3D9Video: AutoDiscard = %d", autoDiscard_ ? 1 : 0);
}

void DepthSurface::Detach()
{
    surface_.Reset();
    device_ = nullptr;
}
