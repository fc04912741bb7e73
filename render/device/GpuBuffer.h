#pragma once
// What vertex and index buffers share: a Direct3D buffer and a copy of its
// contents in our own memory. Locks hand out the copy and Unlock sends the
// locked range to Direct3D, so the contents can always be read back (for
// 16-bit index access and for moving a buffer into system memory) without
// reading the write-only memory Direct3D gives out.

#include "render/device/ComRef.h"

#include <d3d9.h>

#include <cstdint>
#include <vector>

class D3D9Video;

// Lock flags of both buffer kinds.
enum BufferLockFlags : uint32_t {
    kLockDiscard = 1u << 0,       // the whole buffer may be thrown away: a full ring starts over
    kLockNoOverwrite = 1u << 1,   // only unused parts are written: the ring goes on
    kLockReadsOldValues = 1u << 2,   // 16-bit index buffers: each accessed index is read first
};

// Where a buffer lives, from how it is used.
struct BufferPlacement {
    DWORD usage;
    D3DPOOL pool;
};
BufferPlacement ChooseBufferPlacement(bool dynamic, bool hardware);

template <typename Interface>
class GpuBuffer {
public:
    GpuBuffer(const GpuBuffer&) = delete;
    GpuBuffer& operator=(const GpuBuffer&) = delete;

    bool IsLocked() const { return direct3dLocked_ != nullptr; }
    // The first element of the batch being drawn, in the buffer's elements.
    void SetRingPosition(int32_t position) { ringPosition_ = position; }
    int32_t GetRingPosition() const { return ringPosition_; }
    // None when creation failed or a reset is under way.
    Interface* GetDirect3DBuffer() const { return buffer_.Get(); }
    D3DPOOL GetPool() const { return pool_; }
    bool IsSoftware() const { return (usage_ & D3DUSAGE_SOFTWAREPROCESSING) != 0; }

    // Around a reset: default-pool buffers give up their Direct3D buffer and
    // make a new one afterwards, contents lost, ring at 0. Recreate also
    // makes the first one.
    void ReleaseDirect3D();
    virtual void Recreate();
    bool IsInDefaultPool() const { return pool_ == D3DPOOL_DEFAULT; }
    // Moves the buffer into system memory for software vertex processing,
    // for the rest of its life. False when it stays where it was.
    bool ConvertToSoftware();
    // The device is going: the buffer stays as an empty shell.
    void Detach();

protected:
    // A size that is not positive or too large makes a buffer that cannot be locked.
    GpuBuffer(D3D9Video& device, int64_t byteSize, bool dynamic, bool hardware);
    virtual ~GpuBuffer() = default;

    // Null when the range lies outside the buffer or Direct3D refuses the lock.
    uint8_t* LockBytes(int32_t offset, int32_t bytes, uint32_t flags);
    void UnlockBytes();
    uint8_t* LockedBytes() { return contents_.data() + lockOffset_; }

    virtual HRESULT CreateDirect3D(IDirect3DDevice9& device, DWORD usage, D3DPOOL pool, Interface** buffer) = 0;

    D3D9Video* device_;

private:
    ComRef<Interface> buffer_;
    std::vector<uint8_t> contents_;
    void* direct3dLocked_ = nullptr;
    int32_t lockOffset_ = 0;
    int32_t lockBytes_ = 0;
    int32_t ringPosition_ = 0;
    DWORD usage_;
    D3DPOOL pool_;
};

extern template class GpuBuffer<IDirect3DVertexBuffer9>;
extern template class GpuBuffer<IDirect3DIndexBuffer9>;
