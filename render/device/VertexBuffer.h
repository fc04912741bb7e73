#pragma once
// Vertices of one stride. Dynamic buffers are filled as rings: the owner
// locks the next free range without overwriting what is being drawn, or
// discards the buffer when it is full, and sets the ring position to where
// its batch starts; the device draws from there.

#include "engine/video/ElementRange.h"
#include "render/device/GpuBuffer.h"

class VertexBuffer : public GpuBuffer<IDirect3DVertexBuffer9> {
public:
    VertexBuffer(D3D9Video& device, int32_t stride, int32_t count, bool dynamic, bool hardware);
    // Leaves the device's list and any stream it is bound to.
    ~VertexBuffer() override;

    // The vertices of the range, null when it lies outside the buffer or the
    // lock fails. flags: BufferLockFlags.
    void* Lock(const ElementRange& range, uint32_t flags);
    // Counted from the start of the locked range.
    void* ElementPointer(int32_t index);
    void Unlock() { UnlockBytes(); }

    int32_t GetCount() const { return count_; }
    int32_t GetStride() const { return stride_; }

protected:
    HRESULT CreateDirect3D(IDirect3DDevice9& device, DWORD usage, D3DPOOL pool,
                           IDirect3DVertexBuffer9** buffer) override;

private:
    int32_t count_;
    int32_t stride_;
};
