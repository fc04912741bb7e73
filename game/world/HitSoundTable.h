#pragma once
// The eight hit-sound sets of the loaded world, one per kind of surface,
// made by the world's first load stage and chained by its movable objects.

#include "engine/files/WideString.h"
#include "game/world/HitSoundSet.h"

#include <array>
#include <cstdint>
#include <memory>

enum SurfaceKind : int32_t {
    kSurfaceWood = 0,
    kSurfacePhone = 1,
    kSurfaceLight = 2,
    kSurfacePark = 3,
    kSurfaceMetal = 4,
    kSurfaceTraffic = 5,
    kSurfaceLeafs = 6,
    kSurfaceCone = 7,
    kSurfaceKindCount = 8,
};

using HitSoundSets = std::array<std::unique_ptr<HitSoundSet>, kSurfaceKindCount>;

// Empty slots until the table is filled.
HitSoundSets& HitSoundTable();
// Every slot anew from its family "Hit_Wood" ... "Hit_Cone".
void FillHitSoundTable();
// Before the audio device goes: the sets hold its voices.
void ClearHitSoundTable();

// The surface of a movable world object by the start of its upper-cased
// name ("DYNAMIC_BARREL_WOOD01" is wood); lamp posts are the rest.
SurfaceKind SurfaceKindOfObject(const WideString& upperCasedName);
