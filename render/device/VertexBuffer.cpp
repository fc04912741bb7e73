#include "render/device/VertexBuffer.h"

#include "render/device/D3D9Video.h"

VertexBuffer::VertexBuffer(D3D9Video& device, int32_t stride, int32_t count, bool dynamic, bool hardware)
    : GpuBuffer(device, int64_t{stride} * count, dynamic, hardware)
    , count_(count)
    , stride_(stride)
{
    device.GetResources().vertexBuffers.push_back(this);
    Recreate();
}

VertexBuffer::~VertexBuffer()
{
    if (device_) {
        std::erase(device_->GetResources().vertexBuffers, this);
        device_->ForgetVertexBuffer(*this);
    }
}

void* VertexBuffer::Lock(const ElementRange& range, uint32_t flags)
{
    if (range.start < 0 || range.count <= 0 || range.start > count_ - range.count) {
        return nullptr;
    }
    return LockBytes(range.start * stride_, range.count * stride_, flags);
}

void* VertexBuffer::ElementPointer(int32_t index)
{
    return IsLocked() ? LockedBytes() + index * stride_ : nullptr;
}

HRESULT VertexBuffer::CreateDirect3D(IDirect3DDevice9& device, DWORD usage, D3DPOOL pool,
                                     IDirect3DVertexBuffer9** buffer)
{
    return device.CreateVertexBuffer(static_cast<UINT>(stride_ * count_), usage, 0, pool, buffer, nullptr);
}
