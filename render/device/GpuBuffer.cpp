#include "render/device/GpuBuffer.h"

#include "render/device/D3D9Video.h"

#include <cstring>

BufferPlacement ChooseBufferPlacement(bool dynamic, bool hardware)
{
    DWORD usage = D3DUSAGE_WRITEONLY;
    if (dynamic) {
        usage |= D3DUSAGE_DYNAMIC;
    }
    if (!hardware) {
        return {usage | D3DUSAGE_SOFTWAREPROCESSING, D3DPOOL_SYSTEMMEM};
    }
    // Dynamic buffers live in video memory for cheap discard and
    // no-overwrite locks; static ones are managed and survive resets.
    return {usage, dynamic ? D3DPOOL_DEFAULT : D3DPOOL_MANAGED};
}

namespace {

// Far beyond any buffer the game makes; a size above it is a mistake.
constexpr int64_t kLargestBuffer = 256 * 1024 * 1024;

DWORD Direct3DLockFlags(uint32_t flags)
{
    if (flags & kLockDiscard) {
        return D3DLOCK_DISCARD;
    }
    if (flags & kLockNoOverwrite) {
        return D3DLOCK_NOOVERWRITE;
    }
    return 0;
}

} // namespace

template <typename Interface>
GpuBuffer<Interface>::GpuBuffer(D3D9Video& device, int64_t byteSize, bool dynamic, bool hardware)
    : device_(&device)
    , contents_(static_cast<size_t>(byteSize > 0 && byteSize <= kLargestBuffer ? byteSize : 0))
{
    const BufferPlacement placement = ChooseBufferPlacement(dynamic, hardware);
    usage_ = placement.usage;
    pool_ = placement.pool;
}

template <typename Interface>
void GpuBuffer<Interface>::ReleaseDirect3D()
{
    if (direct3dLocked_) {
        buffer_->Unlock();
        direct3dLocked_ = nullptr;
    }
    buffer_.Reset();
}

template <typename Interface>
void GpuBuffer<Interface>::Recreate()
{
    ringPosition_ = 0;
    IDirect3DDevice9* direct3d = device_ ? device_->GetDirect3DDevice() : nullptr;
    if (direct3d && !contents_.empty()) {
        CreateDirect3D(*direct3d, usage_, pool_, buffer_.Receive());
    }
}

template <typename Interface>
bool GpuBuffer<Interface>::ConvertToSoftware()
{
    IDirect3DDevice9* direct3d = device_ ? device_->GetDirect3DDevice() : nullptr;
    if (!direct3d || IsSoftware() || IsLocked()) {
        return false;
    }
    const DWORD usage = usage_ | D3DUSAGE_SOFTWAREPROCESSING;
    ComRef<Interface> converted;
    void* bytes = nullptr;
    if (FAILED(CreateDirect3D(*direct3d, usage, D3DPOOL_SYSTEMMEM, converted.Receive()))
        || FAILED(converted->Lock(0, 0, &bytes, 0))) {
        return false;
    }
    std::memcpy(bytes, contents_.data(), contents_.size());
    converted->Unlock();
    buffer_ = std::move(converted);
    usage_ = usage;
    pool_ = D3DPOOL_SYSTEMMEM;
    return true;
}

template <typename Interface>
void GpuBuffer<Interface>::Detach()
{
    ReleaseDirect3D();
    device_ = nullptr;
}

template <typename Interface>
uint8_t* GpuBuffer<Interface>::LockBytes(int32_t offset, int32_t bytes, uint32_t flags)
{
    const int32_t size = static_cast<int32_t>(contents_.size());
    if (!buffer_ || IsLocked() || offset < 0 || bytes <= 0 || offset > size - bytes) {
        return nullptr;
    }
    void* locked = nullptr;
    if (FAILED(buffer_->Lock(static_cast<UINT>(offset), static_cast<UINT>(bytes), &locked, Direct3DLockFlags(flags)))
        || !locked) {
        return nullptr;
    }
    direct3dLocked_ = locked;
    lockOffset_ = offset;
    lockBytes_ = bytes;
    return LockedBytes();
}

template <typename Interface>
void GpuBuffer<Interface>::UnlockBytes()
{
    if (!direct3dLocked_) {
        return;
    }
    std::memcpy(direct3dLocked_, LockedBytes(), static_cast<size_t>(lockBytes_));
    buffer_->Unlock();
    direct3dLocked_ = nullptr;
}

template class GpuBuffer<IDirect3DVertexBuffer9>;
template class GpuBuffer<IDirect3DIndexBuffer9>;
