#include "game/weapons/Particle.h"

#include <algorithm>
#include <cmath>

void Particle::Reset()
{
    position = {};
    velocity = {};
    radius = 0.0f;
    rotation = 0.0f;
    colour = kOpaqueWhite;
    drawFlags = kParticleModulate;
    state = static_cast<uint16_t>((state | kParticleMoving | kParticleVisible | kParticleFresh) &
                                  ~(kParticleMoveOnce | kParticleDrawOnce));
    layers.clear();
}

void Particle::UpdateRadius()
{
    float largest = 0.0f;
    for (const ParticleLayer& layer : layers) {
        const float x = layer.x + layer.w;
        const float y = layer.y + layer.h;
        largest = std::max(largest, x * x + y * y);
    }
    radius = std::sqrt(largest);
}
