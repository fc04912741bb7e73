#pragma once
// What the game's probe geometries (detector volumes, the view ray, the
// target seeker) share: they are told of what they meet but push nothing, and
// they are sorted into their own collision category, meeting every other.

#include "engine/physics/PhysicsGeom.h"

#include <cstdint>

constexpr int32_t kSensorFlags = kGeomPassive | kGeomSensing;
constexpr int32_t kSensorCategory = 16;
constexpr int32_t kCollidesWithAll = -1;

// Flags, category and collide bits of a probe.
void MakeSensor(PhysicsGeom& geometry);
// Into the physics world of the game module; nowhere while there is none.
void AddToGamePhysics(PhysicsGeom& geometry);
