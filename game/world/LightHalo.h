#pragma once
// What lamps and traffic lights share: halos from the game's light halo
// group, shown only in the frames their light flags them visible, and square
// pools of light laid on the ground below them.

#include "engine/math/Color.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Vec3.h"
#include "game/weapons/EffectObjects.h"

class Particle;
struct Decal;

// A halo of the group at the position, in the colour; none before the game
// module made its effects.
Particle* TakeLightHalo(const Vec3& position, const Color& colour, HaloGroup group = kHalo02Group);
// Back to the group it was taken from; nothing once the game's effects are gone.
void ReturnLightHalo(Particle* halo, HaloGroup group = kHalo02Group);
// The pool as a square of 150 to 225 units (at random) each side of the
// point, turned by the placement.
void PlaceLightPool(Decal& pool, const Vec3& point, const Matrix44& placement);
