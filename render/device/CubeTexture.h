#pragma once
// Cube textures: six square faces, each of which can be filled, locked or
// drawn into on its own.

#include "render/device/ComRef.h"
#include "render/device/DeviceTexture.h"
#include "render/device/UserTexture.h"

#include <array>
#include <memory>

class DeviceCubeTexture;

class CubeFace : public TextureResource {
public:
    CubeFace(DeviceCubeTexture& owner, int32_t index) : TextureResource(kTextureKindCubeFace), owner_(owner), index_(index) {}

    float GetImageWidth() const override;
    float GetImageHeight() const override { return GetImageWidth(); }
    int32_t GetFormat() const override;
    LockedPixels Lock(const TextureRect& rect, int32_t level) override;
    void Unlock(int32_t level) override;
    void Upload(const TextureRect& rect, int32_t level, const SourcePixels& source, int32_t sourceFormat) override;

    const DeviceCubeTexture& GetOwner() const { return owner_; }
    // D3DCUBEMAP_FACES order.
    int32_t GetIndex() const { return index_; }

private:
    ComRef<IDirect3DSurface9> Surface(int32_t level) const;

    DeviceCubeTexture& owner_;
    int32_t index_;
};

class DeviceCubeTexture : public DeviceTexture {
public:
    DeviceCubeTexture(D3D9Video& device, int32_t edge, int32_t levels, D3DFORMAT format, DWORD usage, D3DPOOL pool);
    // A face drawn into must not stay the device's render target.
    ~DeviceCubeTexture() override;

    void ReleaseDirect3D() override { texture_.Reset(); }
    void Recreate() override;

    IDirect3DCubeTexture9* GetTexture() const { return texture_.Get(); }
    int32_t GetEdge() const { return edge_; }
    int32_t GetLevels() const { return levels_; }
    CubeFace& GetFace(int32_t index) { return *faces_[index]; }

private:
    ComRef<IDirect3DCubeTexture9> texture_;
    int32_t edge_;
    int32_t levels_;
    std::array<std::unique_ptr<CubeFace>, 6> faces_;
};

class CubeTexture : public SharedUserTexture<DeviceCubeTexture> {
public:
    explicit CubeTexture(std::shared_ptr<DeviceCubeTexture> texture)
        : SharedUserTexture(kTextureKindCube, std::move(texture))
    {
    }

    TextureSize GetImageSize() const override;
    int32_t GetLevelCount() const override { return texture_->GetLevels(); }
    // Face 0 to 5 in D3DCUBEMAP_FACES order; none for any other index.
    CubeFace* GetFace(int32_t index);
};
