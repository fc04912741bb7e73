// Making the device's resources, and forgetting them as they go.

#include "render/device/D3D9Video.h"

#include "render/device/CubeTexture.h"
#include "render/device/DepthSurface.h"
#include "render/device/Direct3DFormats.h"
#include "render/device/IndexBuffer.h"
#include "render/device/RenderSurface.h"
#include "render/device/Texture2D.h"
#include "render/device/VertexBuffer.h"
#include "render/device/VertexFormat.h"
#include "render/device/VolumeTexture.h"

#include <algorithm>

namespace {

struct TexturePlacement {
    DWORD usage;
    D3DPOOL pool;
};

TexturePlacement ChooseTexturePlacement(const TextureDesc& desc)
{
    TexturePlacement placement{0, D3DPOOL_MANAGED};
    if (desc.dynamic) {
        placement.usage |= D3DUSAGE_DYNAMIC;
    }
    if (desc.renderTarget) {
        placement.usage |= D3DUSAGE_RENDERTARGET;
    }
    if (desc.autoMipmaps) {
        placement.usage |= D3DUSAGE_AUTOGENMIPMAP;
    }
    if (desc.dynamic || desc.renderTarget) {
        placement.pool = D3DPOOL_DEFAULT;
    }
    return placement;
}

} // namespace

std::unique_ptr<TextureResource> D3D9Video::CreateTexture(const TextureDesc& desc)
{
    if (!device_) {
        return nullptr;
    }
    const TexturePlacement placement = ChooseTexturePlacement(desc);
    const D3DFORMAT wanted = Direct3DFormatOf(desc.format);
    switch (desc.kind) {
    case kTextureKind2D: {
        const D3DFORMAT format = ChooseTextureFormat(placement.usage, D3DRTYPE_TEXTURE, wanted);
        if (format == D3DFMT_UNKNOWN) {
            return nullptr;
        }
        return std::make_unique<Texture2D>(
            std::make_shared<DeviceTexture2D>(*this, desc, format, placement.usage, placement.pool));
    }
    case kTextureKindCube: {
        const D3DFORMAT format = ChooseTextureFormat(placement.usage, D3DRTYPE_CUBETEXTURE, wanted);
        if (format == D3DFMT_UNKNOWN) {
            return nullptr;
        }
        return std::make_unique<CubeTexture>(std::make_shared<DeviceCubeTexture>(
            *this, desc.imageWidth, desc.levels, format, placement.usage, placement.pool));
    }
    case kTextureKindVolume: {
        // Without a supported format Direct3D refuses the texture, and says so.
        const D3DFORMAT format = ChooseTextureFormat(placement.usage, D3DRTYPE_VOLUMETEXTURE, wanted);
        return std::make_unique<VolumeTexture>(
            std::make_shared<DeviceVolumeTexture>(*this, desc, format, placement.usage, placement.pool));
    }
    default:
        return nullptr;
    }
}

std::unique_ptr<RenderSurface> D3D9Video::CreateRenderTarget(const TextureDesc& desc)
{
    return std::make_unique<RenderSurface>(*this, desc.imageWidth, desc.imageHeight, Direct3DFormatOf(desc.format),
                                           desc.dynamic);
}

std::unique_ptr<VertexBuffer> D3D9Video::CreateVertexBuffer(int32_t stride, int32_t count, bool dynamic,
                                                            bool hardware)
{
    return std::make_unique<VertexBuffer>(*this, stride, count, dynamic, hardware);
}

std::unique_ptr<IndexBuffer> D3D9Video::CreateIndexBuffer(int32_t indexCount, int32_t vertexCount, bool dynamic,
                                                          bool hardware)
{
    return std::make_unique<IndexBuffer>(*this, indexCount, vertexCount, dynamic, hardware);
}

std::unique_ptr<VertexFormat> D3D9Video::CreateVertexFormat(const std::vector<VertexElement>& elements)
{
    const auto shared = std::find_if(resources_.declarations.begin(), resources_.declarations.end(),
                                     [&](const VertexDeclaration* declaration) {
                                         return declaration->GetElements() == elements;
                                     });
    if (shared != resources_.declarations.end()) {
        return std::make_unique<VertexFormat>((*shared)->shared_from_this());
    }
    return std::make_unique<VertexFormat>(std::make_shared<VertexDeclaration>(*this, elements));
}

std::unique_ptr<DepthSurface> D3D9Video::CreateDepthStencil(const DepthDesc& desc)
{
    const D3DFORMAT colorFormat =
        desc.colorTexture ? Direct3DFormatOf(desc.colorTexture->GetFormat()) : backBufferFormat_;
    if (device_) {
        device_->EvictManagedResources();
    }
    const D3DFORMAT depthFormat = ChooseDepthFormat(colorFormat, Direct3DFormatOf(desc.format));
    return std::make_unique<DepthSurface>(*this, desc.width, desc.height, depthFormat, desc.autoDiscard);
}

void D3D9Video::ReleaseTexture(const TextureResource& texture)
{
    ForgetCachedTexture(texture);
    for (int32_t stage = 0; stage < kTextureStages; ++stage) {
        if (textureBindings_[stage] == &texture) {
            textureBindings_[stage] = nullptr;
            device_->SetTexture(static_cast<DWORD>(stage), nullptr);
        }
    }
    if (renderTarget_ == &texture) {
        SetRenderTarget(nullptr);
    }
}

void D3D9Video::ForgetVertexBuffer(const VertexBuffer& buffer)
{
    for (size_t stream = 0; stream < streams_.size(); ++stream) {
        if (streams_[stream].buffer == &buffer) {
            streams_[stream] = {nullptr, 0};
            device_->SetStreamSource(static_cast<UINT>(stream), nullptr, 0, 0);
        }
    }
}

void D3D9Video::ForgetIndexBuffer(const IndexBuffer& buffer)
{
    if (indexBuffer_ == &buffer) {
        SetIndexBuffer(nullptr);
    }
}

void D3D9Video::ForgetVertexDeclaration(const VertexDeclaration& declaration)
{
    if (declaration_ == &declaration) {
        SetVertexFormat(nullptr);
    }
}

void D3D9Video::ForgetDepthSurface(const DepthSurface& surface)
{
    if (depthSurface_ == &surface) {
        SetDepthStencil(nullptr);
    }
}
