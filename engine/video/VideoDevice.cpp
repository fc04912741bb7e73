#include "engine/video/VideoDevice.h"

#include "engine/video/DeviceListener.h"

#include <algorithm>

namespace {

int32_t CountPrimitives(int32_t type, int32_t count)
{
    switch (type) {
    case kPointList:
        return count;
    case kLineList:
        return count / 2;
    case kLineStrip:
        return count - 1;
    case kTriangleList:
        return count / 3;
    case kTriangleStrip:
    case kTriangleFan:
        return count - 2;
    default:
        return 0;
    }
}

} // namespace

int32_t PrimitiveCount(int32_t type, int32_t count)
{
    return std::max(CountPrimitives(type, count), 0);
}

void VideoDevice::AddDeviceListener(DeviceListener* listener)
{
    listeners_.push_back(listener);
}

void VideoDevice::RemoveDeviceListener(DeviceListener* listener)
{
    auto found = std::find(listeners_.begin(), listeners_.end(), listener);
    if (found != listeners_.end()) {
        listeners_.erase(found);
    }
}

// Over a copy: a listener may take itself off while it is told.
void VideoDevice::NotifyDeviceLost()
{
    for (DeviceListener* listener : std::vector<DeviceListener*>(listeners_)) {
        listener->OnDeviceLost(*this);
    }
}

void VideoDevice::NotifyDeviceReset()
{
    for (DeviceListener* listener : std::vector<DeviceListener*>(listeners_)) {
        listener->OnDeviceReset(*this);
    }
}

void VideoDevice::SetHardwareCapabilities(uint32_t capabilities)
{
    capabilities_ = (capabilities_ & kCapabilityWireframe) | (capabilities & ~kCapabilityWireframe);
}

void VideoDevice::ForgetCachedTexture(const TextureResource& texture)
{
    for (TextureCacheEntry& entry : textureCache_) {
        std::erase(entry.textures, &texture);
    }
    std::erase_if(textureCache_, [](const TextureCacheEntry& entry) { return entry.textures.empty(); });
}
