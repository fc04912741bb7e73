#include "render/device/VolumeTexture.h"

#include "engine/core/LogHub.h"
#include "render/device/D3D9Video.h"
#include "render/device/Direct3DFormats.h"

float VolumeSlice::GetImageWidth() const
{
    return static_cast<float>(owner_.GetWidth());
}

float VolumeSlice::GetImageHeight() const
{
    return static_cast<float>(owner_.GetHeight());
}

int32_t VolumeSlice::GetFormat() const
{
    return TextureFormatOf(owner_.GetFormat());
}

// Width and height are the picture's; the texture width of the description
// is the depth.
DeviceVolumeTexture::DeviceVolumeTexture(D3D9Video& device, const TextureDesc& desc, D3DFORMAT format, DWORD usage,
                                         D3DPOOL pool)
    : DeviceTexture(device, format, usage, pool)
    , width_(desc.imageWidth)
    , height_(desc.imageHeight)
    , depth_(desc.textureWidth)
    , levels_(desc.levels)
{
    Recreate();
    // A depth Direct3D refused is no size to make slices for.
    for (int32_t i = 0; texture_ && i < depth_; ++i) {
        slices_.push_back(std::make_unique<VolumeSlice>(*this, i));
    }
}

void DeviceVolumeTexture::Recreate()
{
    IDirect3DDevice9* direct3d = device_ ? device_->GetDirect3DDevice() : nullptr;
    if (!direct3d) {
        return;
    }
    if (FAILED(direct3d->CreateVolumeTexture(static_cast<UINT>(width_), static_cast<UINT>(height_),
                                             static_cast<UINT>(depth_), static_cast<UINT>(levels_), usage_, format_,
                                             pool_, texture_.Receive(), nullptr))) {
        LogHub::PrintError("D3D9Video: Failed creating volume texture");
        return;
    }
    LogHub::PrintVerbose("D3D9Video: Volume texture created");
}

VolumeSlice* DeviceVolumeTexture::GetSlice(int32_t index)
{
    if (index < 0 || index >= static_cast<int32_t>(slices_.size())) {
        return nullptr;
    }
    return slices_[index].get();
}
