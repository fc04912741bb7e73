#pragma once
// The lamps of a traffic light on its pole: red, amber and green halos, a
// red and a green pool of light on the ground, and the stop mark of the
// traffic node it rules. Its group sets its state; the lamps fade towards
// it. Knocked loose, it goes dark until the next game reset, but its group
// keeps cycling it: a broken light still releases its node on green and
// never stops it again.

#include "game/weapons/Decal.h"
#include "game/world/WorldObjectExtension.h"

#include <array>
#include <cstdint>

class Particle;
class dcDynamicObject;
struct PathNode;

enum TrafficLightState : int32_t {
    kLightRed = 1,
    kLightAmber = 2,
    kLightGreen = 4,
    kLightBroken = 0x100,
};

class TrafficLightDecal : public WorldObjectExtension {
public:
    // The lamps in the order of their state bits.
    enum Lamp : int32_t { kRedLamp, kAmberLamp, kGreenLamp, kLampCount };
    // Seconds a lamp takes to light, and to fade out.
    static constexpr float kLightSeconds = 0.25f;
    static constexpr float kFadeSeconds = 1.0f;

    // Chained to the owner's extensions, its halos placed by the owner's pose.
    TrafficLightDecal(dcDynamicObject& owner, PathNode* node);
    ~TrafficLightDecal() override;

    // The lamps lit by the bits; the broken bit stays as it was.
    void SetState(int32_t bits);
    // Red and mended; the node stops traffic.
    void Reset();
    // One frame of the lamps' halos fading towards the state, and the pools after them.
    void Fade(float dt);
    // Both pools at the point, turned by the placement (the last placement wins).
    void PlacePools(const Vec3& point, const Matrix44& placement);

    void OnVisible() override;
    void PrepareHit() override { state_ |= kLightBroken; }
    void Restore() override { state_ &= ~kLightBroken; }

    int32_t GetState() const { return state_; }
    Particle* GetLamp(Lamp lamp) const { return lamps_[static_cast<size_t>(lamp)]; }
    // Where the lamp's halo shines, whether or not there is a halo.
    const Vec3& GetLampPosition(Lamp lamp) const { return lampPositions_[static_cast<size_t>(lamp)]; }
    const Decal& GetRedPool() const { return redPool_; }
    const Decal& GetGreenPool() const { return greenPool_; }
    bool HasPools() const { return poolsPlaced_; }
    dcDynamicObject& GetOwner() const { return owner_; }

private:
    float LampAlpha(Lamp lamp) const;

    dcDynamicObject& owner_;
    PathNode* node_;
    std::array<Particle*, kLampCount> lamps_{};
    std::array<Vec3, kLampCount> lampPositions_{};
    int32_t state_ = kLightRed;
    Decal redPool_;
    Decal greenPool_;
    bool poolsPlaced_ = false;
};
