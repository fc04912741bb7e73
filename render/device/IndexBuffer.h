#pragma once
// Indices, 16-bit when every vertex they name fits, else 32-bit. Callers
// write every index as a 32-bit value through ElementPointer, whatever the
// width: a 16-bit buffer hands out a scratch value and stores it when the
// next element is asked for or the buffer is unlocked.

#include "engine/video/ElementRange.h"
#include "render/device/GpuBuffer.h"

class IndexBuffer : public GpuBuffer<IDirect3DIndexBuffer9> {
public:
    // The largest vertex count 16-bit indices can address.
    static constexpr int32_t kLargest16BitVertexCount = 65536;

    IndexBuffer(D3D9Video& device, int32_t indexCount, int32_t vertexCount, bool dynamic, bool hardware);
    // Leaves the device's list, and the device when it is current.
    ~IndexBuffer() override;

    // flags: BufferLockFlags. Null when the range lies outside the buffer or
    // the lock fails.
    void* Lock(const ElementRange& range, uint32_t flags);
    // The index at this position of the locked range, as a 32-bit value;
    // null while unlocked.
    uint32_t* ElementPointer(int32_t index);
    void Unlock();

    bool Is16Bit() const { return is16Bit_; }
    int32_t GetCount() const { return count_; }
    int32_t GetIndexBytes() const { return is16Bit_ ? 2 : 4; }
    void Recreate() override;

protected:
    HRESULT CreateDirect3D(IDirect3DDevice9& device, DWORD usage, D3DPOOL pool,
                           IDirect3DIndexBuffer9** buffer) override;

private:
    void StoreScratch();

    int32_t count_;
    bool is16Bit_;
    uint32_t scratch_ = 0;
    int32_t scratchIndex_ = -1;   // -1: nothing to store
    int32_t lockedCount_ = 0;
    uint32_t lockFlags_ = 0;
};
