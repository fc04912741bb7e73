// The world's named markers: ambient sounds where the world should sound,
// and delivery points named after the road around them.

#include "game/world/World.h"

#include "engine/files/WideString.h"
#include "game/world/GameModule.h"
#include "game/world/WorldFileChecks.h"
#include "game/world/dcAmbientSound.h"
#include "game/world/dcDropPointRay.h"
#include "game/world/dcWorldGeometry.h"

#include <memory>

namespace {

constexpr int32_t kMarkerBytes = 28;   // an empty name, two points

// The name's part after its first blank, without blanks around it.
WideString NamePart(const WideString& name)
{
    const size_t blank = name.find(L' ');
    if (blank == WideString::npos) {
        return {};
    }
    const size_t first = name.find_first_not_of(L' ', blank);
    if (first == WideString::npos) {
        return {};
    }
    return name.substr(first, name.find_last_not_of(L' ') + 1 - first);
}

} // namespace

bool World::ReadMarkers()
{
    Stream& file = *file_;
    int32_t count = 0;
    if (!ReadRecordCount(file, kMarkerBytes, count)) {
        return false;
    }
    markers_.assign(static_cast<size_t>(count), Tape{});
    for (Tape& marker : markers_) {
        if (!ReadText(file, marker.name) || !ReadBlock(file, &marker.position, sizeof(Vec3)) ||
            !ReadBlock(file, &marker.second, sizeof(Vec3))) {
            return false;
        }
        if (marker.name.starts_with(L"SOUND")) {
            AddAmbientSound(marker);
        }
    }
    return true;
}

// Heard from the distance between the marker's two points, at full volume
// within it and fading out to twice that.
void World::AddAmbientSound(const Tape& marker)
{
    GameModule* game = GameModule::Get();
    if (!game) {
        return;
    }
    const float reach = (marker.second - marker.position).Length();
    auto sound = std::make_unique<dcAmbientSound>(marker.position, reach, 2.0f * reach);
    sound->SetSound(dcAmbientSound::SoundNameOfMarker(marker.name));
    game->GetScene().Add(sound.get());
    sceneEntityIds_.push_back(sound.release()->GetId());
}

// "DROPPOINT" alone takes the road name found within reach; "DROPPOINT
// Hospital" keeps its own.
void World::NameDropPoints()
{
    dcDropPointRay probe(geometry_->Triangles(), staticObjects_);
    for (Tape& marker : markers_) {
        WideString upper = marker.name;
        WideStringToUpper(upper);
        if (!upper.starts_with(L"DROPPOINT") || !NamePart(marker.name).empty()) {
            continue;
        }
        probe.foundName.clear();
        probe.GetSphere().SetPosition(marker.position);
        PhysicsWorld::TestPair(&physics_, probe.GetSphere(), *geometry_);
        marker.name += probe.foundName;
    }
}
