#pragma once
// What the explosions of one kind show and sound like: every explosion
// folder's flip-book ("Textures\FX\Explosion*", the frames "*.DCT" inside
// each) and the kind's own sounds. The five records are built once, when the
// game module is made, and kept for the whole run.

#include "engine/files/WideString.h"
#include "game/weapons/ExplosionFlipBook.h"

#include <cstdint>
#include <memory>
#include <vector>

class VideoDevice;

enum ExplosionKindId : int32_t {
    kExplosionGeneric = 0,   // destroyed cars and traffic, exploding bonuses
    kExplosionRocket = 1,
    kExplosionMine = 2,      // grenades and mines
    kExplosionMissile = 3,
    kExplosionAirstrike = 4,
    kExplosionKindCount = 5,
};

struct ExplosionKind {
    static constexpr float kSpriteSize = 100.0f;

    int32_t kind = kExplosionGeneric;
    std::vector<std::unique_ptr<ExplosionFlipBook>> flipBooks;   // one per folder with frames
    std::vector<WideString> sounds;
    float spriteSize = kSpriteSize;

    // The first record of the kind, or the generic one; none before the
    // records are built.
    static const ExplosionKind* Find(int32_t kind);
};

// The five records from the data. Frames come from the device's texture
// factory; without a device the frames are counted but hold no texture. A
// folder without frames is left out, and told once.
std::vector<ExplosionKind> BuildExplosionKinds(VideoDevice* device);
// Builds the records the explosions use, once: later calls return at once.
void LoadExplosionKinds(VideoDevice* device);
// The records in build order.
const std::vector<ExplosionKind>& ExplosionKinds();
