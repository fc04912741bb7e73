#include "render/device/VertexFormat.h"

#include "engine/core/LogHub.h"
#include "render/device/D3D9Video.h"

static_assert(sizeof(VertexElement) == sizeof(D3DVERTEXELEMENT9), "VertexElement is D3DVERTEXELEMENT9");

VertexDeclaration::VertexDeclaration(D3D9Video& device, const std::vector<VertexElement>& elements)
    : device_(&device)
    , elements_(elements)
{
    std::vector<D3DVERTEXELEMENT9> list;
    for (const VertexElement& element : elements) {
        list.push_back({element.stream, element.offset, element.type, element.method, element.usage,
                        element.usageIndex});
    }
    list.push_back(D3DDECL_END());
    IDirect3DDevice9* direct3d = device.GetDirect3DDevice();
    if (!direct3d || FAILED(direct3d->CreateVertexDeclaration(list.data(), declaration_.Receive()))) {
        LogHub::PrintVerbose("D3D9Video: Failed creating vertexformat");
    } else {
        LogHub::PrintVerbose("D3D9Video: VertexFormat created");
    }
    device.GetResources().declarations.push_back(this);
}

VertexDeclaration::~VertexDeclaration()
{
    if (device_) {
        std::erase(device_->GetResources().declarations, this);
        device_->ForgetVertexDeclaration(*this);
    }
}

void VertexDeclaration::Detach()
{
    declaration_.Reset();
    device_ = nullptr;
}
