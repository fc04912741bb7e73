#include "render/device/RenderStateCache.h"

bool RenderStateCache::Update(uint32_t state, uint32_t value)
{
    if (state >= kStateCount) {
        return true;
    }
    if (values_[state] == value) {
        return false;
    }
    values_[state] = value;
    return true;
}

void RenderStateCache::Forget()
{
    values_.fill(kUnknownValue);
}
