#include "render/device/IndexBuffer.h"

#include "render/device/D3D9Video.h"

#include <cstring>

IndexBuffer::IndexBuffer(D3D9Video& device, int32_t indexCount, int32_t vertexCount, bool dynamic, bool hardware)
    : GpuBuffer(device, int64_t{indexCount} * (vertexCount > kLargest16BitVertexCount ? 4 : 2), dynamic, hardware)
    , count_(indexCount)
    , is16Bit_(vertexCount <= kLargest16BitVertexCount)
{
    device.GetResources().indexBuffers.push_back(this);
    Recreate();
}

IndexBuffer::~IndexBuffer()
{
    if (device_) {
        std::erase(device_->GetResources().indexBuffers, this);
        device_->ForgetIndexBuffer(*this);
    }
}

void* IndexBuffer::Lock(const ElementRange& range, uint32_t flags)
{
    if (range.start < 0 || range.count <= 0 || range.start > count_ - range.count) {
        return nullptr;
    }
    const int32_t width = GetIndexBytes();
    void* locked = LockBytes(range.start * width, range.count * width, flags);
    if (locked) {
        lockedCount_ = range.count;
        lockFlags_ = flags;
        scratchIndex_ = -1;
    }
    return locked;
}

uint32_t* IndexBuffer::ElementPointer(int32_t index)
{
    if (!IsLocked() || index < 0 || index >= lockedCount_) {
        return nullptr;
    }
    if (!is16Bit_) {
        return reinterpret_cast<uint32_t*>(LockedBytes()) + index;
    }
    StoreScratch();
    scratchIndex_ = index;
    if (lockFlags_ & kLockReadsOldValues) {
        uint16_t old = 0;
        std::memcpy(&old, LockedBytes() + index * 2, sizeof old);
        scratch_ = old;
    }
    return &scratch_;
}

void IndexBuffer::Unlock()
{
    StoreScratch();
    UnlockBytes();
}

void IndexBuffer::StoreScratch()
{
    if (scratchIndex_ < 0) {
        return;
    }
    const uint16_t value = static_cast<uint16_t>(scratch_);
    std::memcpy(LockedBytes() + scratchIndex_ * 2, &value, sizeof value);
    scratchIndex_ = -1;
}

void IndexBuffer::Recreate()
{
    scratchIndex_ = -1;
    GpuBuffer::Recreate();
}

HRESULT IndexBuffer::CreateDirect3D(IDirect3DDevice9& device, DWORD usage, D3DPOOL pool,
                                    IDirect3DIndexBuffer9** buffer)
{
    return device.CreateIndexBuffer(static_cast<UINT>(count_ * GetIndexBytes()), usage,
                                    is16Bit_ ? D3DFMT_INDEX16 : D3DFMT_INDEX32, pool, buffer, nullptr);
}
