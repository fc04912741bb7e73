#pragma once
// The particle group of the explosion sprites: each sprite plays its own
// clone of a flip-book, stands still, and is retired once the animation has
// played.

#include "game/weapons/ExplosionFlipBook.h"
#include "game/weapons/dcParticleGroup.h"

#include <memory>

class ExplosionParticle : public Particle {
public:
    // White, additive, one 100-unit square layer about the position.
    void Reset() override;
    // One square layer of the size, moved by the flip-book's anchor.
    void SetSize(float size);
    // The particle plays the book as its texture.
    void SetFlipBook(std::unique_ptr<ExplosionFlipBook> book);
    ExplosionFlipBook* GetFlipBook() const { return flipBook_.get(); }

private:
    std::unique_ptr<ExplosionFlipBook> flipBook_;
};

class dcExplosionMaker : public dcParticleGroup {
    DC_RECEIVER(dcExplosionMaker, dcParticleGroup)
public:
    dcExplosionMaker();

    // The group's motion, then every sprite's animation by the step; a
    // finished one is released at once.
    void Update(float step) override;

protected:
    std::unique_ptr<Particle> CreateParticle() override;
    virtual void OnRender(const dcRender& message) { DrawParticles(message); }
};
// handlers: dcUpdate -> OnUpdate, dcRender -> OnRender
