#include "game/weapons/SensorGeometry.h"

#include "game/world/GameModule.h"

void MakeSensor(PhysicsGeom& geometry)
{
    geometry.SetFlag(kSensorFlags, true);
    geometry.SetCategoryBits(kSensorCategory);
    geometry.SetCollideBits(kCollidesWithAll);
}

void AddToGamePhysics(PhysicsGeom& geometry)
{
    if (GameModule* game = GameModule::Get()) {
        geometry.AddToWorld(game->GetWorld().GetPhysics());
    }
}
