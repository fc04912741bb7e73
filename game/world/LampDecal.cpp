#include "game/world/LampDecal.h"

#include "engine/math/Color.h"
#include "game/weapons/EffectObjects.h"
#include "game/weapons/Particle.h"
#include "game/world/LightHalo.h"
#include "game/world/dcDynamicObject.h"

LampDecal::LampDecal() : WorldObjectExtension(true)
{
    if (EffectObjects* effects = EffectObjects::Get()) {
        pool_.batch = &effects->GetLightPool(kLampPool);
    }
}

LampDecal::~LampDecal()
{
    for (const Spot& spot : spots_) {
        ReturnLightHalo(spot.halo);
    }
}

void LampDecal::Attach(dcDynamicObject& owner)
{
    owner_ = &owner;
    owner.AddExtension(this);
    for (Spot& spot : spots_) {
        spot.halo = TakeLightHalo(SpotPosition(spot), kOpaqueWhite);
    }
}

Vec3 LampDecal::SpotPosition(const Spot& spot) const
{
    return owner_ ? Vec3::TransformPoint(spot.offset, owner_->transform) : spot.offset;
}

void LampDecal::PlacePool(const Vec3& point, const Matrix44& placement)
{
    placed_ = true;
    if (owner_) {
        BoundingBox& box = owner_->worldBox;
        box.centre.y -= kPoolDepth / 2.0f;
        box.halfExtents.y += kPoolDepth / 2.0f;
    }
    PlaceLightPool(pool_, point, placement);
}

void LampDecal::OnVisible()
{
    if (broken_) {
        return;
    }
    for (const Spot& spot : spots_) {
        if (spot.halo) {
            spot.halo->Set(kParticleVisible, true);
        }
    }
    if (placed_) {
        pool_.Submit();
    }
}
