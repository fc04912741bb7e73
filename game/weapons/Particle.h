#pragma once
// One camera-facing sprite: fire, smoke, a spark, a blood drop, an explosion
// frame or the halo of a light. A particle group creates it and owns it for
// the whole run; it moves between the group's live and free lists.

#include "engine/math/Color.h"
#include "engine/math/Vec3.h"

#include <cstdint>
#include <vector>

class TextureResource;

// One quad of a sprite: the texture rectangle, then the quad in sprite
// coordinates, in half units: its corners are (2x, 2y) and (2(x + w), 2(y + h)).
struct ParticleLayer {
    float tu0;
    float tv0;
    float tu1;
    float tv1;
    float x;
    float y;
    float w;
    float h;
};

// Blend shaders of the particle renderer.
enum ParticleDrawFlags : int16_t {
    kParticleModulate = 0,
    kParticleAdditive = 1,
};

enum ParticleState : uint16_t {
    kParticleMoving = 1 << 0,     // the group's update integrates it
    kParticleVisible = 1 << 1,    // the renderer draws it
    kParticleFresh = 1 << 2,      // set by Reset
    kParticleMoveOnce = 1 << 3,   // one integration step, then Moving is cleared
    kParticleDrawOnce = 1 << 4,   // drawn in one frame, then Visible is cleared
    kParticleDrawn = 1 << 5,      // drawn in the current frame
};

class Particle {
public:
    Particle() = default;
    virtual ~Particle() = default;

    // Back to a still, white, visible sprite without layers; the texture stays.
    virtual void Reset();
    // The bounding size of the layers.
    void UpdateRadius();

    bool Has(uint16_t bit) const { return (state & bit) != 0; }
    void Set(uint16_t bit, bool on) { state = on ? static_cast<uint16_t>(state | bit) : static_cast<uint16_t>(state & ~bit); }

    Vec3 position;
    float radius = 0.0f;
    Vec3 velocity;   // units per second
    float rotation = 0.0f;   // about the viewing axis, radians
    Color colour = kOpaqueWhite;
    TextureResource* texture = nullptr;   // not owned
    int16_t drawFlags = kParticleModulate;
    uint16_t state = 0;
    std::vector<ParticleLayer> layers;
};
