#include "game/weapons/DecalRing.h"

namespace {

constexpr int32_t kWorldDecals = 4096;

} // namespace

DecalRing::DecalRing(const Decal& defaultDecal, int32_t count)
    : slots_(static_cast<size_t>(count > 0 ? count : 1), defaultDecal)
{
}

Decal& DecalRing::Add(DecalBatch* batch)
{
    Decal& slot = slots_[static_cast<size_t>(counter_ % Capacity())];
    slot.batch = batch;
    ++counter_;
    return slot;
}

Decal* DecalRing::Find(int32_t serial)
{
    if (!IsLive(serial)) {
        return nullptr;
    }
    return &slots_[static_cast<size_t>(serial % Capacity())];
}

void DecalRing::Clear()
{
    counter_ += Capacity();
}

bool DecalRing::IsLive(int32_t serial) const
{
    return serial >= 0 && serial < counter_ && serial >= counter_ - Capacity();
}

// Made on first use, so start-up code of any file may reach it; its storage
// is made once, before the first decal of the run.
DecalRing& TheDecalRing()
{
    static DecalRing ring(Decal{}, kWorldDecals);
    return ring;
}
