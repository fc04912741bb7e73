#pragma once
// A texture the game binds: its own sampler settings over pixels that a
// device texture owns. 2D, cube and volume textures are user textures.

#include "render/device/SamplerStates.h"
#include "render/device/TextureResource.h"

#include <d3d9.h>

class UserTexture : public TextureResource {
public:
    using TextureResource::TextureResource;

    void SetAddressU(uint32_t mode) override { sampler_.addressU = mode; }
    void SetAddressV(uint32_t mode) override { sampler_.addressV = mode; }
    void SetAddressW(uint32_t mode) override { sampler_.addressW = mode; }
    void SetMipmapping(bool on) override { sampler_.mipFilter = on ? D3DTEXF_LINEAR : D3DTEXF_NONE; }
    void SetFiltering(bool linear) override;
    void SetLodBias(float bias) override { sampler_.mipLodBias = bias + SamplerStates::kLodBiasOffset; }
    void PreLoad() override;
    int32_t GetFormat() const override;

    const SamplerStates& GetSamplerStates() const { return sampler_; }
    // What Direct3D binds; none when its creation failed or the device is gone.
    virtual IDirect3DBaseTexture9* GetDirect3DTexture() const = 0;
    virtual D3DFORMAT GetDirect3DFormat() const = 0;

private:
    SamplerStates sampler_;
};

// Whether the resource is a user texture: only those can be bound.
inline bool IsUserTexture(const TextureResource& texture)
{
    const int32_t kind = texture.GetKind();
    return kind == kTextureKind2D || kind == kTextureKindCube || kind == kTextureKindVolume;
}
