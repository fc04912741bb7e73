#pragma once
// Told around every reset of the video device: before it, to give up what
// lives in video memory, and after it, to make it again. The device does not
// own its listeners.

class VideoDevice;

class DeviceListener {
public:
    virtual ~DeviceListener() = default;
    virtual void OnDeviceLost(VideoDevice& device) = 0;
    virtual void OnDeviceReset(VideoDevice& device) = 0;
};
