#include "render/device/Texture2D.h"

#include "engine/core/LogHub.h"
#include "render/device/D3D9Video.h"
#include "render/device/SurfaceUpload.h"

#include <d3dx9tex.h>

namespace {

constexpr int32_t kLargestPowerOfTwo = 4096;

bool IsPowerOfTwo(int32_t size)
{
    return (size & (size - 1)) == 0;
}

bool NeedsPowerOfTwo(const D3DCAPS9& caps)
{
    return (caps.TextureCaps & D3DPTEXTURECAPS_POW2) && !(caps.TextureCaps & D3DPTEXTURECAPS_NONPOW2CONDITIONAL);
}

} // namespace

int32_t AllocatedTextureEdge(int32_t edge, bool powersOfTwoOnly)
{
    if (!powersOfTwoOnly || edge <= 0 || IsPowerOfTwo(edge)) {
        return edge;
    }
    int32_t power = kLargestPowerOfTwo / 2;
    while (power > edge) {
        power /= 2;
    }
    return power * 2;
}

DeviceTexture2D::DeviceTexture2D(D3D9Video& device, const TextureDesc& desc, D3DFORMAT format, DWORD usage,
                                 D3DPOOL pool)
    : DeviceTexture(device, format, usage, pool)
    , imageWidth_(desc.imageWidth)
    , imageHeight_(desc.imageHeight)
    , textureWidth_(desc.textureWidth)
    , textureHeight_(desc.textureHeight)
    , levels_(desc.levels)
{
    Recreate();
}

void DeviceTexture2D::Recreate()
{
    IDirect3DDevice9* direct3d = device_ ? device_->GetDirect3DDevice() : nullptr;
    if (!direct3d) {
        return;
    }
    if (pool_ == D3DPOOL_DEFAULT) {
        // Room in video memory before managed textures take it all.
        direct3d->EvictManagedResources();
    }
    const bool powersOfTwoOnly = NeedsPowerOfTwo(device_->GetCaps());
    textureWidth_ = AllocatedTextureEdge(textureWidth_, powersOfTwoOnly);
    textureHeight_ = AllocatedTextureEdge(textureHeight_, powersOfTwoOnly);
    if (FAILED(direct3d->CreateTexture(static_cast<UINT>(textureWidth_), static_cast<UINT>(textureHeight_),
                                       static_cast<UINT>(levels_), usage_, format_, pool_, texture_.Receive(),
                                       nullptr))) {
        LogHub::PrintError("D3D9Video: Failed creating texture");
        return;
    }
    LogHub::PrintVerbose("D3D9Video: Texture created");
}

LockedPixels Texture2D::Lock(const TextureRect& rect, int32_t level)
{
    IDirect3DTexture9* texture = texture_->GetTexture();
    const RECT area{rect.left, rect.top, rect.right, rect.bottom};
    D3DLOCKED_RECT locked{};
    if (!texture || FAILED(texture->LockRect(static_cast<UINT>(level), &locked, &area, 0))) {
        return {};
    }
    return {locked.pBits, locked.Pitch};
}

void Texture2D::Unlock(int32_t level)
{
    if (IDirect3DTexture9* texture = texture_->GetTexture()) {
        texture->UnlockRect(static_cast<UINT>(level));
    }
}

void Texture2D::Upload(const TextureRect& rect, int32_t level, const SourcePixels& source, int32_t sourceFormat)
{
    IDirect3DTexture9* texture = texture_->GetTexture();
    ComRef<IDirect3DSurface9> surface;
    if (texture && SUCCEEDED(texture->GetSurfaceLevel(static_cast<UINT>(level), surface.Receive()))) {
        UploadToSurface(surface.Get(), rect, source, sourceFormat);
    }
}

std::unique_ptr<TextureResource> Texture2D::Clone()
{
    auto clone = std::make_unique<Texture2D>(texture_);
    clone->SetName(GetName());
    return clone;
}

bool Texture2D::SaveToMemory(std::vector<uint8_t>& file) const
{
    file.clear();
    IDirect3DTexture9* texture = texture_->GetTexture();
    ComRef<IDirect3DSurface9> surface;
    if (!texture || FAILED(texture->GetSurfaceLevel(0, surface.Receive()))) {
        return false;
    }
    const RECT picture{0, 0, texture_->GetImageWidth(), texture_->GetImageHeight()};
    ComRef<ID3DXBuffer> saved;
    if (FAILED(D3DXSaveSurfaceToFileInMemory(saved.Receive(), D3DXIFF_BMP, surface.Get(), nullptr, &picture))) {
        return false;
    }
    const auto* bytes = static_cast<const uint8_t*>(saved->GetBufferPointer());
    file.assign(bytes, bytes + saved->GetBufferSize());
    return true;
}
