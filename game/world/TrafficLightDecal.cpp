#include "game/world/TrafficLightDecal.h"

#include "game/weapons/EffectObjects.h"
#include "game/weapons/Particle.h"
#include "game/world/LightHalo.h"
#include "game/world/PathNetwork.h"
#include "game/world/dcDynamicObject.h"

#include <algorithm>

namespace {

// The lamp head hangs off the pole's arm: its middle 1.3 up and 8 along -z
// of the pole's own frame, the lamps 5.5 apart, red on top.
constexpr float kHeadUp = 1.3f;
constexpr float kHeadOut = 8.0f;
constexpr float kLampSpacing = 5.5f;

constexpr Color kLampColours[TrafficLightDecal::kLampCount] = {
    {207.0f / 255.0f, 42.0f / 255.0f, 62.0f / 255.0f, 1.0f},
    {244.0f / 255.0f, 246.0f / 255.0f, 125.0f / 255.0f, 128.0f / 255.0f},
    {114.0f / 255.0f, 201.0f / 255.0f, 48.0f / 255.0f, 64.0f / 255.0f},
};

void SetStopMark(PathNode* node, uint8_t stop)
{
    if (node) {
        node->stop = stop;
    }
}

void SetPoolIntensity(Decal& pool, float intensity)
{
    pool.colour = {intensity, intensity, intensity, intensity};
}

} // namespace

TrafficLightDecal::TrafficLightDecal(dcDynamicObject& owner, PathNode* node)
    : WorldObjectExtension(true)
    , owner_(owner)
    , node_(node)
{
    if (EffectObjects* effects = EffectObjects::Get()) {
        redPool_.batch = &effects->GetLightPool(kRedPool);
        greenPool_.batch = &effects->GetLightPool(kGreenPool);
    }
    const Matrix44& pose = owner.transform;
    const Vec3 head = pose.GetRow(3) + pose.GetRow(1) * kHeadUp - pose.GetRow(2) * kHeadOut;
    for (int32_t lamp = 0; lamp < kLampCount; ++lamp) {
        const Vec3 position = head + Vec3{0.0f, kLampSpacing * static_cast<float>(1 - lamp), 0.0f};
        lampPositions_[static_cast<size_t>(lamp)] = position;
        lamps_[static_cast<size_t>(lamp)] = TakeLightHalo(position, kLampColours[lamp]);
    }
    owner.AddExtension(this);
}

TrafficLightDecal::~TrafficLightDecal()
{
    for (Particle* lamp : lamps_) {
        ReturnLightHalo(lamp);
    }
}

void TrafficLightDecal::SetState(int32_t bits)
{
    state_ = bits | (state_ & kLightBroken);
    if (bits & kLightGreen) {
        SetStopMark(node_, 0);
    } else if (state_ == kLightAmber || state_ == kLightRed) {
        SetStopMark(node_, 1);
    }
}

void TrafficLightDecal::Reset()
{
    state_ = kLightRed;
    SetStopMark(node_, 1);
}

void TrafficLightDecal::Fade(float dt)
{
    for (int32_t lamp = 0; lamp < kLampCount; ++lamp) {
        Particle* halo = lamps_[static_cast<size_t>(lamp)];
        if (!halo) {
            continue;
        }
        float& alpha = halo->colour.a;
        alpha = (state_ & (1 << lamp)) ? std::min(1.0f, alpha + dt / kLightSeconds)
                                       : std::max(0.0f, alpha - dt / kFadeSeconds);
    }
    const float amber = LampAlpha(kAmberLamp);
    SetPoolIntensity(redPool_, std::min(1.0f, LampAlpha(kRedLamp) + amber));
    SetPoolIntensity(greenPool_, std::min(1.0f, LampAlpha(kGreenLamp) + amber));
}

float TrafficLightDecal::LampAlpha(Lamp lamp) const
{
    const Particle* halo = lamps_[static_cast<size_t>(lamp)];
    return halo ? halo->colour.a : 0.0f;
}

void TrafficLightDecal::PlacePools(const Vec3& point, const Matrix44& placement)
{
    PlaceLightPool(redPool_, point, placement);
    greenPool_.corners = redPool_.corners;
    greenPool_.texCoords = redPool_.texCoords;
    poolsPlaced_ = true;
}

void TrafficLightDecal::OnVisible()
{
    if (state_ & kLightBroken) {
        return;
    }
    for (Particle* lamp : lamps_) {
        if (lamp) {
            lamp->Set(kParticleVisible, true);
        }
    }
    if (!poolsPlaced_) {
        return;
    }
    for (const Decal* pool : {&redPool_, &greenPool_}) {
        if (pool->colour.a != 0.0f) {
            pool->Submit();
        }
    }
}
