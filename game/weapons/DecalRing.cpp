#include "game/weapons/DecalRing.h"

#include "game/weapons/DecalBatch.h"

namespace {

constexpr int32_t kWorldDecals = 4096;

} // namespace

DecalRing::DecalRing(const Decal& defaultDecal, int32_t count)
    : slots_(static_cast<size_t>(count > 0 ? count : 1), defaultDecal)
{
    frameQuads_.reserve(kFrameQuadCapacity);
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

bool DecalRing::Submit(int32_t serial)
{
    const Decal* decal = Find(serial);
    if (!decal) {
        return false;
    }
    SubmitQuad(*decal);
    return true;
}

bool DecalRing::SubmitQuad(const Decal& decal)
{
    if (!decal.batch || static_cast<int32_t>(frameQuads_.size()) >= kFrameQuadCapacity) {
        return false;
    }
    decal.batch->quads.push_back(static_cast<int32_t>(frameQuads_.size()));
    frameQuads_.push_back({decal.corners, decal.texCoords, decal.colour});
    return true;
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

bool Decal::Submit() const
{
    return TheDecalRing().SubmitQuad(*this);
}

Vec3 Decal::Centre() const
{
    Vec3 sum;
    for (const Vec3& corner : corners) {
        sum = Vec3::Add(sum, corner);
    }
    return Vec3::Scale(sum, 0.25f);
}
