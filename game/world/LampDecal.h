#pragma once
// A street lamp's light on its post: a halo at each bulb and one white pool
// of light on the ground below. Knocked loose, the lamp stays dark for the
// rest of the game.

#include "engine/math/Vec3.h"
#include "game/weapons/Decal.h"
#include "game/world/WorldObjectExtension.h"

#include <vector>

class Particle;
class dcDynamicObject;

class LampDecal : public WorldObjectExtension {
public:
    // The bulb of the sample posts, in the post's own frame.
    static constexpr Vec3 kBulbOffset{0.0f, -8.0f, -4.0f};
    // A placed pool widens the post's box down to the ground it lights.
    static constexpr float kPoolDepth = 100.0f;

    struct Spot {
        Particle* halo = nullptr;
        Vec3 offset;   // in the owner's frame
    };

    LampDecal();
    ~LampDecal() override;

    void AddSpot(const Vec3& offset) { spots_.push_back({nullptr, offset}); }
    // Chained to the owner's extensions, with a halo at each spot.
    void Attach(dcDynamicObject& owner);
    // The pool at the point, turned by the placement.
    void PlacePool(const Vec3& point, const Matrix44& placement);
    // Crowded lamps show their halos only.
    void HidePool() { placed_ = false; }

    void OnVisible() override;
    void PrepareHit() override { broken_ = true; }
    void Restore() override { broken_ = false; }

    dcDynamicObject* GetOwner() const { return owner_; }
    // Where the spot shines, by the owner's pose.
    Vec3 SpotPosition(const Spot& spot) const;
    const std::vector<Spot>& GetSpots() const { return spots_; }
    const Decal& GetPool() const { return pool_; }
    bool IsPlaced() const { return placed_; }
    bool IsBroken() const { return broken_; }

private:
    dcDynamicObject* owner_ = nullptr;
    Decal pool_;
    std::vector<Spot> spots_;
    bool broken_ = false;
    bool placed_ = false;
};
