// The world's movable props: each one an entity of the game scene with its
// collision box in a space of their own, the hit sound of its surface on its
// extension chain, and whatever the words of its name make of it. A broken
// record is reported by the stream ("%s contains errors") and the file
// given up; the props read until then stay until the world is unloaded.

#include "game/world/World.h"

#include "game/world/DynamicObjectState.h"
#include "game/world/GameModule.h"
#include "game/world/HitSoundTable.h"
#include "game/world/LoadBatch.h"
#include "game/world/WorldFileChecks.h"
#include "game/world/dcDynamicObject.h"
#include "game/world/dcWorldRender.h"

#include <cmath>

namespace {

// Two empty names, pose, skipped bytes, mesh index, collision kind.
constexpr int32_t kDynamicObjectBytes = 56;
constexpr int32_t kSpaceDepth = 8;
constexpr int32_t kSpaceCategory = 0x8;
// On-foot characters 0x400, car chassis 0x200, bullets 0x80, explosions 0x40.
constexpr int32_t kSpaceCollides = 0x6C0;
// Kinds 1 and 3 meet everything; the others only the other props.
constexpr int32_t kSolidCategory = 0xC;
constexpr int32_t kSolidCollides = -1;
constexpr int32_t kLightCategory = 0;
constexpr int32_t kLightCollides = 0x8;
constexpr float kBoxMargin = 1.01f;

bool IsSolidKind(int32_t collisionKind)
{
    return collisionKind == 1 || collisionKind == 3;
}

// ODE refuses a box of negative or unknown size, and a quadtree cannot sort
// a box whose place is not a number.
bool IsUsableBox(const Vec3& halfExtents, const Vec3& centre)
{
    for (float value : {halfExtents.x, halfExtents.y, halfExtents.z}) {
        if (!std::isfinite(value) || value < 0.0f) {
            return false;
        }
    }
    return std::isfinite(centre.x) && std::isfinite(centre.y) && std::isfinite(centre.z);
}

} // namespace

float World::LoadDynamicObjects(int32_t& counter)
{
    if (!file_) {
        return 1.0f;
    }
    if (counter > 0) {
        return ReadDynamicObjectBatch(counter);
    }
    int32_t count = 0;
    if (!ReadRecordCount(*file_, kDynamicObjectBytes, count)) {
        return GiveUpFile();
    }
    std::unique_ptr<SpaceGeom>& space = DynamicObjectSpace();
    space = std::make_unique<SpaceGeom>(box_, kSpaceDepth);
    space->SetCategoryBits(kSpaceCategory);
    space->SetCollideBits(kSpaceCollides);
    space->SetOwner(render_.get());
    dynamicObjects_.assign(static_cast<size_t>(count), nullptr);
    ++counter;
    return 0.0f;
}

float World::ReadDynamicObjectBatch(int32_t& counter)
{
    const int32_t count = static_cast<int32_t>(dynamicObjects_.size());
    int32_t read = 0;
    for (int32_t j = counter - 1; j < count && read < kRecordsPerCall; ++j, ++read) {
        auto object = std::make_unique<dcDynamicObject>();
        if (!ReadDynamicObject(*object)) {
            return GiveUpFile();
        }
        dcDynamicObject* placed = object.release();
        dynamicObjects_[static_cast<size_t>(j)] = placed;
        if (GameModule* game = GameModule::Get()) {
            game->GetScene().Add(placed);
        }
        ++counter;
    }
    if (read == kRecordsPerCall) {
        DynamicObjectSpace()->Clean();
        return BatchProgress(read, kRecordsPerCall, counter + 1, count);
    }
    FinishDynamicObjects();
    return 1.0f;
}

bool World::ReadDynamicObject(dcDynamicObject& object)
{
    Stream& file = *file_;
    WideString unused;
    if (!ReadText(file, object.name) || !ReadText(file, unused)) {
        return false;
    }
    WideStringToUpper(object.name);
    int32_t collisionKind = 0;
    if (!ReadPlacement(object) || !ReadBlock(file, &collisionKind, 4)) {
        return false;
    }
    if (collisionKind != 0 && !ReadCollisionBox(object, collisionKind)) {
        return false;
    }
    ApplyNameWords(object);
    return true;
}

bool World::ReadCollisionBox(dcDynamicObject& object, int32_t collisionKind)
{
    Stream& file = *file_;
    BoundingBox box;   // its centre is not used: the mesh box's is
    if (!ReadBlock(file, &box, sizeof(BoundingBox)) || !ReadBlock(file, &object.behaviour, 4)) {
        return false;
    }
    const Vec3 centre = Vec3::TransformPoint(object.mesh->box.centre, object.transform);
    if (!IsUsableBox(box.halfExtents, centre)) {
        file.ReportErrors();
        return false;
    }
    object.detailOnly = (collisionKind == 1 && object.behaviour == kBehaviourLooseAlone) ||
                        (collisionKind == 2 && object.behaviour == kBehaviourLeaves);
    const bool solid = IsSolidKind(collisionKind);
    object.box.SetHalfExtents(box.halfExtents * kBoxMargin);
    object.box.SetCategoryBits(solid ? kSolidCategory : kLightCategory);
    object.box.SetCollideBits(solid ? kSolidCollides : kLightCollides);
    object.box.SetOwner(&object);
    object.PlaceBox();
    if (HitSoundSet* sounds = HitSoundTable()[SurfaceKindOfObject(object.name)].get()) {
        object.AddExtension(sounds);
    }
    DynamicObjectSpace()->Add(object.box);
    return true;
}

// The words at the start of the upper-cased name: "NOVIS" hides the prop;
// "BULB" makes it a street lamp, "TRAFFICLITE" a traffic light.
void World::ApplyNameWords(dcDynamicObject& object)
{
    if (object.name.starts_with(L"NOVIS")) {
        object.hidden = true;
    }
    if (object.name.starts_with(L"BULB")) {
        AddLamp(object);
    } else if (object.name.starts_with(L"TRAFFICLITE")) {
        AddTrafficLight(object);
    }
}

void World::FinishDynamicObjects()
{
    HideCrowdedLampPools();
    DynamicObjectSpace()->AddToWorld(physics_);
    if (GameModule* game = GameModule::Get()) {
        game->GetScene().Add(render_.get());
    }
}

void World::ReleaseDynamicObjects()
{
    for (dcDynamicObject* object : dynamicObjects_) {
        if (object) {
            object->Release();
        }
    }
    dynamicObjects_.clear();
    // The shared state is the loaded world's: a world that made no props
    // (one made for a test beside the game's) leaves it alone.
    const std::unique_ptr<SpaceGeom>& space = DynamicObjectSpace();
    if (!space || space->GetOwner() == render_.get()) {
        ReleaseDynamicObjectState();
    }
    if (Scene* scene = render_->GetScene()) {
        scene->Remove(render_.get());
    }
}
