#include "game/weapons/dcDetector.h"

#include "game/weapons/SensorGeometry.h"
#include "game/world/GameModule.h"

dcDetector::dcDetector()
{
    Handles<dcGameReset, &dcDetector::OnGameReset>();
    Handles<dcUpdate, &dcDetector::OnUpdate>();
    sphere_.SetFlag(kGeomSensing, true);
    AddToGamePhysics(sphere_);
}

dcDetector* dcDetector::Create(const Vec3& position, float radius, int32_t categoryBits, int32_t collideBits,
                               float lifetime)
{
    GameModule* game = GameModule::Get();
    if (!game) {
        return nullptr;
    }
    auto* detector = new dcDetector;
    detector->sphere_.SetPosition(position);
    detector->sphere_.SetRadius(radius);
    detector->sphere_.SetCategoryBits(categoryBits);
    detector->sphere_.SetCollideBits(collideBits);
    detector->lifetime_ = lifetime;
    game->GetScene().Add(detector);
    return detector;
}

void dcDetector::OnGameReset(const dcGameReset&)
{
    if (lifetime_ != kPermanent) {
        Release();
    }
}

void dcDetector::OnUpdate(const dcUpdate& message)
{
    if (lifetime_ == kPermanent) {
        return;
    }
    lifetime_ -= message.step;
    if (lifetime_ < 0.0f) {
        Release();
    }
}
