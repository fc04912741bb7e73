#include "render/device/UserTexture.h"

#include "render/device/D3D9Video.h"
#include "render/device/DFTexture.h"
#include "render/device/Direct3DFormats.h"

UserTexture::UserTexture(int32_t kind) : TextureResource(kind) {}

UserTexture::~UserTexture() = default;

void UserTexture::SetDFEntry(std::unique_ptr<DFTexture> entry)
{
    dfEntry_ = std::move(entry);
}

void UserTexture::SetFiltering(bool linear)
{
    const uint32_t filter = linear ? D3DTEXF_LINEAR : D3DTEXF_POINT;
    sampler_.minFilter = filter;
    sampler_.magFilter = filter;
}

void UserTexture::PreLoad()
{
    if (IDirect3DBaseTexture9* texture = GetDirect3DTexture()) {
        texture->PreLoad();
    }
}

int32_t UserTexture::GetFormat() const
{
    return TextureFormatOf(GetDirect3DFormat());
}

void UserTexture::LeaveDevice(D3D9Video* device)
{
    if (device) {
        device->ReleaseTexture(*this);
    }
}
