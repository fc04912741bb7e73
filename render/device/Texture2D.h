#pragma once
// 2D textures: the Direct3D texture on the device's side, shared by every
// Texture2D cloned from the first, which lives until its last user goes.

#include "render/device/ComRef.h"
#include "render/device/DeviceTexture.h"
#include "render/device/UserTexture.h"

#include <cstdint>
#include <memory>
#include <vector>

// The edge a texture is allocated with: on adapters that take only powers of
// two, an edge that is not one is raised to the next, at most 4096.
int32_t AllocatedTextureEdge(int32_t edge, bool powersOfTwoOnly);

class DeviceTexture2D : public DeviceTexture {
public:
    // The Direct3D texture is made at once; see IsValid for the outcome.
    DeviceTexture2D(D3D9Video& device, const TextureDesc& desc, D3DFORMAT format, DWORD usage, D3DPOOL pool);

    void ReleaseDirect3D() override { texture_.Reset(); }
    void Recreate() override;

    IDirect3DTexture9* GetTexture() const { return texture_.Get(); }
    int32_t GetImageWidth() const { return imageWidth_; }
    int32_t GetImageHeight() const { return imageHeight_; }
    // As allocated: raised to powers of two where the adapter needs them.
    int32_t GetTextureWidth() const { return textureWidth_; }
    int32_t GetTextureHeight() const { return textureHeight_; }
    int32_t GetLevels() const { return levels_; }

private:
    ComRef<IDirect3DTexture9> texture_;
    int32_t imageWidth_;
    int32_t imageHeight_;
    int32_t textureWidth_;
    int32_t textureHeight_;
    int32_t levels_;
};

class Texture2D : public SharedUserTexture<DeviceTexture2D> {
public:
    explicit Texture2D(std::shared_ptr<DeviceTexture2D> texture)
        : SharedUserTexture(kTextureKind2D, std::move(texture))
    {
    }

    float GetWidth() const override { return static_cast<float>(texture_->GetTextureWidth()); }
    float GetHeight() const override { return static_cast<float>(texture_->GetTextureHeight()); }
    float GetImageWidth() const override { return static_cast<float>(texture_->GetImageWidth()); }
    float GetImageHeight() const override { return static_cast<float>(texture_->GetImageHeight()); }
    int32_t GetLevelCount() const override { return texture_->GetLevels(); }

    LockedPixels Lock(const TextureRect& rect, int32_t level) override;
    void Unlock(int32_t level) override;
    void Upload(const TextureRect& rect, int32_t level, const SourcePixels& source, int32_t sourceFormat) override;
    std::unique_ptr<TextureResource> Clone() override;
    bool IsValid() const override { return texture_->GetTexture() != nullptr; }

    // The picture as a BMP file in memory; false when it cannot be read.
    bool SaveToMemory(std::vector<uint8_t>& file) const;

    const std::shared_ptr<DeviceTexture2D>& GetDeviceTexture() const { return texture_; }
};
