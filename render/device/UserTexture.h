#pragma once
// A texture the game binds: its own sampler settings over pixels that a
// device texture owns. 2D, cube and volume textures are user textures.

#include "engine/video/TextureResource.h"
#include "render/device/SamplerStates.h"

#include <d3d9.h>

#include <memory>

class D3D9Video;
class DFTexture;

class UserTexture : public TextureResource {
public:
    explicit UserTexture(int32_t kind);
    // Releases the texture's DFEngine item when it shows one.
    ~UserTexture() override;

    void SetAddressU(uint32_t mode) override { sampler_.addressU = mode; }
    void SetAddressV(uint32_t mode) override { sampler_.addressV = mode; }
    void SetAddressW(uint32_t mode) override { sampler_.addressW = mode; }
    void SetMipmapping(bool on) override { sampler_.mipFilter = on ? D3DTEXF_LINEAR : D3DTEXF_NONE; }
    void SetFiltering(bool linear) override;
    void SetLodBias(float bias) override { sampler_.mipLodBias = bias + SamplerStates::kLodBiasOffset; }
    void PreLoad() override;
    int32_t GetFormat() const override;

    const SamplerStates& GetSamplerStates() const { return sampler_; }
    // The DFEngine item whose pixels this texture shows, owned by the texture.
    DFTexture* GetDFEntry() const { return dfEntry_.get(); }
    void SetDFEntry(std::unique_ptr<DFTexture> entry);
    // What Direct3D binds; none when its creation failed or the device is gone.
    virtual IDirect3DBaseTexture9* GetDirect3DTexture() const = 0;
    virtual D3DFORMAT GetDirect3DFormat() const = 0;

protected:
    // Takes the texture out of the device's texture cache and bindings.
    void LeaveDevice(D3D9Video* device);

private:
    SamplerStates sampler_;
    std::unique_ptr<DFTexture> dfEntry_;
};

// A user texture over a device texture of one kind, shared with its clones:
// the pixels go with the last texture that shares them.
template <typename DeviceKind>
class SharedUserTexture : public UserTexture {
public:
    SharedUserTexture(int32_t kind, std::shared_ptr<DeviceKind> texture)
        : UserTexture(kind)
        , texture_(std::move(texture))
    {
    }
    ~SharedUserTexture() override { LeaveDevice(texture_->GetDevice()); }

    IDirect3DBaseTexture9* GetDirect3DTexture() const override { return texture_->GetTexture(); }
    D3DFORMAT GetDirect3DFormat() const override { return texture_->GetFormat(); }

protected:
    std::shared_ptr<DeviceKind> texture_;
};

// Whether the resource is a user texture: only those can be bound.
inline bool IsUserTexture(const TextureResource& texture)
{
    const int32_t kind = texture.GetKind();
    return kind == kTextureKind2D || kind == kTextureKindCube || kind == kTextureKindVolume;
}
