#pragma once
// Volume textures: a stack of depth slices of one width and height. Slices
// report their size and format but cannot be locked.

#include "render/device/ComRef.h"
#include "render/device/DeviceTexture.h"
#include "render/device/UserTexture.h"

#include <memory>
#include <vector>

class DeviceVolumeTexture;

class VolumeSlice : public TextureResource {
public:
    VolumeSlice(DeviceVolumeTexture& owner, int32_t index)
        : TextureResource(kTextureKindVolumeSlice), owner_(owner), index_(index)
    {
    }

    float GetImageWidth() const override;
    float GetImageHeight() const override;
    int32_t GetFormat() const override;
    int32_t GetIndex() const { return index_; }

private:
    DeviceVolumeTexture& owner_;
    int32_t index_;
};

class DeviceVolumeTexture : public DeviceTexture {
public:
    DeviceVolumeTexture(D3D9Video& device, const TextureDesc& desc, D3DFORMAT format, DWORD usage, D3DPOOL pool);

    void ReleaseDirect3D() override { texture_.Reset(); }
    void Recreate() override;

    IDirect3DVolumeTexture9* GetTexture() const { return texture_.Get(); }
    int32_t GetWidth() const { return width_; }
    int32_t GetHeight() const { return height_; }
    int32_t GetDepth() const { return depth_; }
    VolumeSlice* GetSlice(int32_t index);

private:
    ComRef<IDirect3DVolumeTexture9> texture_;
    int32_t width_;
    int32_t height_;
    int32_t depth_;
    int32_t levels_;
    std::vector<std::unique_ptr<VolumeSlice>> slices_;
};

class VolumeTexture : public SharedUserTexture<DeviceVolumeTexture> {
public:
    explicit VolumeTexture(std::shared_ptr<DeviceVolumeTexture> texture)
        : SharedUserTexture(kTextureKindVolume, std::move(texture))
    {
    }

    float GetImageWidth() const override { return static_cast<float>(texture_->GetWidth()); }
    float GetImageHeight() const override { return static_cast<float>(texture_->GetHeight()); }
    int32_t GetDepth() const { return texture_->GetDepth(); }
    // None outside 0 to depth - 1.
    VolumeSlice* GetSlice(int32_t index) { return texture_->GetSlice(index); }
};
