// The frame operations of the Direct3D 9 device. Their Direct3D results are
// not checked: a frame that fails to draw is followed by the next, and
// Present deals with a lost device.

#include "render/device/D3D9Video.h"

#include "render/device/PackedColor.h"

void D3D9Video::BeginFrame()
{
    statistics_ = {};
    if (!device_) {
        return;
    }
    SetRenderStateCached(D3DRS_CULLMODE, D3DCULL_NONE);
    device_->BeginScene();
    SetRenderStateCached(D3DRS_FILLMODE, HasCapability(kCapabilityWireframe) ? D3DFILL_WIREFRAME : D3DFILL_SOLID);
}

// Direct3D refuses the whole clear when it names a buffer that is not there,
// so depth and stencil are asked for only where the depth surface has them.
void D3D9Video::Clear(uint32_t flags, const Color& color, float z, int32_t stencil)
{
    if (!device_) {
        return;
    }
    DWORD targets = (flags & kClearTarget) ? D3DCLEAR_TARGET : 0;
    if ((flags & kClearDepth) && defaultDepthFormat_ != D3DFMT_UNKNOWN) {
        targets |= D3DCLEAR_ZBUFFER;
    }
    if ((flags & kClearStencil) && defaultDepthFormat_ == D3DFMT_D24S8) {
        targets |= D3DCLEAR_STENCIL;
    }
    device_->Clear(0, nullptr, targets, PackColor(color), z, static_cast<DWORD>(stencil));
}

void D3D9Video::EndFrame()
{
    if (device_) {
        device_->EndScene();
    }
}

void D3D9Video::SetViewport(const ViewportRect& rect, float minZ, float maxZ)
{
    viewport_ = rect;
    viewportWidth_ = static_cast<int32_t>(rect.right - rect.left);
    viewportHeight_ = static_cast<int32_t>(rect.bottom - rect.top);
    if (!device_) {
        return;
    }
    D3DVIEWPORT9 viewport{static_cast<DWORD>(rect.left), static_cast<DWORD>(rect.top),
                          static_cast<DWORD>(viewportWidth_), static_cast<DWORD>(viewportHeight_), minZ, maxZ};
    device_->SetViewport(&viewport);
}

void D3D9Video::SetRenderStateCached(D3DRENDERSTATETYPE state, DWORD value)
{
    if (device_ && renderStates_.Update(state, value)) {
        device_->SetRenderState(state, value);
    }
}
