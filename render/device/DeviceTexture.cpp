#include "render/device/DeviceTexture.h"

#include "render/device/D3D9Video.h"

DeviceTexture::DeviceTexture(D3D9Video& device, D3DFORMAT format, DWORD usage, D3DPOOL pool)
    : device_(&device)
    , format_(format)
    , usage_(usage)
    , pool_(pool)
{
    device.GetResources().textures.push_back(this);
}

DeviceTexture::~DeviceTexture()
{
    if (device_) {
        std::erase(device_->GetResources().textures, this);
    }
}

void DeviceTexture::Detach()
{
    ReleaseDirect3D();
    device_ = nullptr;
}
