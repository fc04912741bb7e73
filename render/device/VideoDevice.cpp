#include "render/device/VideoDevice.h"

#include "render/device/DeviceListener.h"

#include <algorithm>

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
