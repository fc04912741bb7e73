#include "render/device/OcclusionQuery.h"

#include "engine/video/VideoDevice.h"

void OcclusionQuery::Begin()
{
    if (device_) {
        device_->BeginQuery(*this);
    }
}

void OcclusionQuery::End()
{
    if (device_) {
        device_->EndQuery(*this);
    }
}
