#include "render/device/CubeTexture.h"

#include "engine/core/LogHub.h"
#include "render/device/D3D9Video.h"
#include "render/device/Direct3DFormats.h"
#include "render/device/SurfaceUpload.h"

namespace {

constexpr int32_t kFaceCount = 6;

} // namespace

float CubeFace::GetImageWidth() const
{
    return static_cast<float>(owner_.GetEdge());
}

int32_t CubeFace::GetFormat() const
{
    return TextureFormatOf(owner_.GetFormat());
}

ComRef<IDirect3DSurface9> CubeFace::Surface(int32_t level) const
{
    ComRef<IDirect3DSurface9> surface;
    if (IDirect3DCubeTexture9* texture = owner_.GetTexture()) {
        texture->GetCubeMapSurface(static_cast<D3DCUBEMAP_FACES>(index_), static_cast<UINT>(level), surface.Receive());
    }
    return surface;
}

LockedPixels CubeFace::Lock(const TextureRect& rect, int32_t level)
{
    const ComRef<IDirect3DSurface9> surface = Surface(level);
    const RECT area{rect.left, rect.top, rect.right, rect.bottom};
    D3DLOCKED_RECT locked{};
    if (!surface || FAILED(surface->LockRect(&locked, &area, 0))) {
        return {};
    }
    return {locked.pBits, locked.Pitch};
}

void CubeFace::Unlock(int32_t level)
{
    if (const ComRef<IDirect3DSurface9> surface = Surface(level)) {
        surface->UnlockRect();
    }
}

void CubeFace::Upload(const TextureRect& rect, int32_t level, const SourcePixels& source, int32_t sourceFormat)
{
    UploadToSurface(Surface(level).Get(), rect, source, sourceFormat);
}

DeviceCubeTexture::DeviceCubeTexture(D3D9Video& device, int32_t edge, int32_t levels, D3DFORMAT format, DWORD usage,
                                     D3DPOOL pool)
    : DeviceTexture(device, format, usage, pool)
    , edge_(edge)
    , levels_(levels)
{
    for (int32_t i = 0; i < kFaceCount; ++i) {
        faces_[i] = std::make_unique<CubeFace>(*this, i);
    }
    Recreate();
}

DeviceCubeTexture::~DeviceCubeTexture()
{
    if (device_) {
        for (const std::unique_ptr<CubeFace>& face : faces_) {
            device_->ReleaseTexture(*face);
        }
    }
}

void DeviceCubeTexture::Recreate()
{
    IDirect3DDevice9* direct3d = device_ ? device_->GetDirect3DDevice() : nullptr;
    if (!direct3d) {
        return;
    }
    if (FAILED(direct3d->CreateCubeTexture(static_cast<UINT>(edge_), static_cast<UINT>(levels_), usage_, format_,
                                           pool_, texture_.Receive(), nullptr))) {
        LogHub::PrintError("D3D9Video: Failed creating cube texture");
        return;
    }
    LogHub::PrintVerbose("D3D9Video: Cube texture created");
}

TextureSize CubeTexture::GetImageSize() const
{
    const float edge = static_cast<float>(texture_->GetEdge());
    return {edge, edge};
}

CubeFace* CubeTexture::GetFace(int32_t index)
{
    if (index < 0 || index >= kFaceCount) {
        return nullptr;
    }
    return &texture_->GetFace(index);
}
