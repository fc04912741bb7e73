#pragma once
// A pool of particles of one kind: it hands out particles, takes them back,
// and moves the live ones every fixed step. Particles are never freed while
// the group lives: a released one waits on the free list and is the next
// one handed out (last released, first reused). Ageing belongs to the
// emitters or to whoever holds the particle.

#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/math/Vec3.h"
#include "game/weapons/Particle.h"

#include <cstdint>
#include <memory>
#include <vector>

// What Emit does with a group that holds its maximum of live particles.
enum ParticleEmitMode : int32_t {
    kEmitWithinMaximum = 0,   // gives none
    kEmitRecycleOldest = 1,   // takes back the oldest live particle
    kEmitAlways = 2,          // creates one past the maximum
};

class dcParticleGroup : public MessageReceiver {
    DC_RECEIVER(dcParticleGroup, MessageReceiver)
public:
    static constexpr int32_t kDefaultMaximum = 1000;
    static constexpr int32_t kParticlePass = 4;

    dcParticleGroup();
    ~dcParticleGroup() override;

    // A reset particle, now the newest live one; none only in mode 0 with a
    // full group and nothing to reuse.
    Particle* Emit(ParticleEmitMode mode);
    // Nothing happens for a particle that is not live here.
    void Release(Particle* particle);
    void ReleaseAt(int32_t index);
    void ReleaseAll();

    void SetGravity(const Vec3& gravity) { gravity_ = gravity; }
    const Vec3& GetGravity() const { return gravity_; }
    // Oldest first.
    const std::vector<Particle*>& GetParticles() const { return live_; }
    int32_t GetMaximum() const { return maximum_; }

    // One integration step of the moving particles (seconds).
    virtual void Update(float step);

protected:
    // A new particle of the group's kind, already reset.
    virtual std::unique_ptr<Particle> CreateParticle();
    // The render rule of every group: in the particle pass, the live
    // particles through the one particle renderer.
    void DrawParticles(const dcRender& message);

    void OnUpdate(const dcUpdate& message) { Update(message.step); }

private:
    Vec3 gravity_;
    int32_t maximum_ = kDefaultMaximum;
    std::vector<std::unique_ptr<Particle>> owned_;
    std::vector<Particle*> free_;
    std::vector<Particle*> live_;
};
// handlers: dcUpdate -> OnUpdate
