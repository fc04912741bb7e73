#include "render/device/OcclusionQuery.h"

#include "render/device/VideoDevice.h"

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
