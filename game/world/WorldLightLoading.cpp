// Street lamps ("BULB...") and traffic lights ("TRAFFICLITE...") among the
// props. Each light probes straight down from its bulbs for the ground its
// pools of light lie on; a light over no ground shows its halos only.
// Traffic lights join the group of their crossing, named in their own name:
// "TRAFFICLITE" + a 3-character group key, then "STATE" + 2 digits (the
// state in the group) and "BOX" + 3 digits (the traffic node's file id).

#include "game/world/World.h"

#include "engine/core/LogHub.h"
#include "engine/physics/RayGeom.h"
#include "game/world/GameModule.h"
#include "game/world/LampDecal.h"
#include "game/world/PathNetwork.h"
#include "game/world/TrafficLightDecal.h"
#include "game/world/dcDynamicObject.h"
#include "game/world/dcLightCallback.h"
#include "game/world/dcTLGroup.h"
#include "game/world/dcWorldGeometry.h"

#include <cwctype>
#include <optional>

namespace {

constexpr float kProbeLength = 100.0f;
constexpr int32_t kProbeCategory = 16;
constexpr int32_t kProbeCollides = 1;
constexpr size_t kGroupKeyAt = 11;   // right after "TRAFFICLITE"
constexpr size_t kGroupKeyLength = 3;
constexpr size_t kStateDigits = 2;
constexpr size_t kNodeIdDigits = 3;
// A lamp with more neighbours than this closer than 75 units lays no pool.
constexpr float kCrowdDistanceSquared = 75.0f * 75.0f;
constexpr int32_t kMostNeighbours = 3;

// A ray pointing down from where the light shines, reporting to the callback.
struct LightProbe {
    explicit LightProbe(dcLightCallback& callback) : ray(kProbeLength)
    {
        ray.SetCategoryBits(kProbeCategory);
        ray.SetCollideBits(kProbeCollides);
        ray.SetFlag(kGeomPassive | kGeomSensing, true);
        ray.SetOwner(&callback);
    }

    RayGeom ray;
};

// The number of exactly `digits` decimal digits at the position of the name.
std::optional<int32_t> DigitsAt(const WideString& name, size_t at, size_t digits)
{
    if (at == WideString::npos || at + digits > name.size()) {
        return std::nullopt;
    }
    int32_t value = 0;
    for (size_t i = at; i < at + digits; ++i) {
        if (!std::iswdigit(name[i])) {
            return std::nullopt;
        }
        value = value * 10 + static_cast<int32_t>(name[i] - L'0');
    }
    return value;
}

size_t After(const WideString& name, const wchar_t* word)
{
    const size_t at = name.find(word);
    return at == WideString::npos ? at : at + std::char_traits<wchar_t>::length(word);
}

} // namespace

bool World::ProbeLightGround(dcLightCallback& callback, RayGeom& ray, const Vec3& from)
{
    callback.Reset();
    ray.Set(from, {0.0f, -1.0f, 0.0f});
    PhysicsWorld::TestPair(&physics_, ray, *geometry_);
    return callback.HasContact();
}

void World::AddLamp(dcDynamicObject& object)
{
    dcLightCallback callback;
    LightProbe probe(callback);
    auto lamp = std::make_unique<LampDecal>();
    lamp->AddSpot(LampDecal::kBulbOffset);
    lamp->Attach(object);
    for (const LampDecal::Spot& spot : lamp->GetSpots()) {
        if (ProbeLightGround(callback, probe.ray, lamp->SpotPosition(spot))) {
            Matrix44 placement;
            callback.PlacementMatrix(placement);
            lamp->PlacePool(callback.GetPoint(), placement);
            object.lit = true;
        }
    }
    lampDecals_.push_back(lamp.get());
    lights_.push_back(std::move(lamp));
}

void World::AddTrafficLight(dcDynamicObject& object)
{
    const WideString& name = object.name;
    if (name.find(L"STATE") == WideString::npos || name.find(L"BOX") == WideString::npos) {
        return;
    }
    const std::optional<int32_t> state = DigitsAt(name, After(name, L"STATE"), kStateDigits);
    const std::optional<int32_t> nodeId = DigitsAt(name, After(name, L"BOX"), kNodeIdDigits);
    if (!state || !nodeId || name.size() < kGroupKeyAt + kGroupKeyLength) {
        LogHub::PrintError("%s is not a traffic light name (TRAFFICLITE<group>STATE<2 digits>BOX<3 digits>)",
                           name.c_str());
        return;
    }
    dcTLGroup& group = TrafficLightGroup(name.substr(kGroupKeyAt, kGroupKeyLength));
    group.GrowStates(*state + 1);
    auto light = std::make_unique<TrafficLightDecal>(object, FindRoadNode(TrafficNetwork(), *nodeId));
    group.AddLight(*state, light.get());
    dcLightCallback callback;
    LightProbe probe(callback);
    for (int32_t lamp = 0; lamp < TrafficLightDecal::kLampCount; ++lamp) {
        if (ProbeLightGround(callback, probe.ray, light->GetLampPosition(static_cast<TrafficLightDecal::Lamp>(lamp)))) {
            Matrix44 placement;
            callback.PlacementMatrix(placement);
            light->PlacePools(callback.GetPoint(), placement);
            object.lit = true;
        }
    }
    lights_.push_back(std::move(light));
}

dcTLGroup& World::TrafficLightGroup(const WideString& key)
{
    for (const std::unique_ptr<dcTLGroup>& group : trafficLightGroups_) {
        if (group->GetName() == key) {
            return *group;
        }
    }
    dcTLGroup& group = *trafficLightGroups_.emplace_back(std::make_unique<dcTLGroup>(key));
    if (GameModule* game = GameModule::Get()) {
        game->GetScene().Add(&group);
    }
    return group;
}

void World::HideCrowdedLampPools()
{
    std::vector<int32_t> neighbours(lampDecals_.size(), 0);
    for (size_t a = 0; a < lampDecals_.size(); ++a) {
        for (size_t b = a + 1; b < lampDecals_.size(); ++b) {
            const Vec3 between = lampDecals_[a]->GetOwner()->GetPosition() - lampDecals_[b]->GetOwner()->GetPosition();
            if (Vec3::Dot(between, between) < kCrowdDistanceSquared) {
                ++neighbours[a];
                ++neighbours[b];
            }
        }
    }
    for (size_t i = 0; i < lampDecals_.size(); ++i) {
        if (neighbours[i] > kMostNeighbours) {
            lampDecals_[i]->HidePool();
        }
    }
}

// After the props: the lights are on their chains.
void World::ReleaseLights()
{
    for (const std::unique_ptr<dcTLGroup>& group : trafficLightGroups_) {
        if (Scene* scene = group->GetScene()) {
            scene->Remove(group.get());
        }
    }
    trafficLightGroups_.clear();
    lampDecals_.clear();
    lights_.clear();
}
