// The offline visibility compile: for each block of the grid, the entities
// standing in its column, and those that the hardware sees from any of four
// cameras near the block's corners, drawn over the depth of all the others.

#include "game/world/VisibilityCompile.h"

#include "engine/core/LogHub.h"
#include "engine/core/MessageReceiver.h"
#include "engine/core/Scene.h"
#include "engine/core/Thread.h"
#include "engine/core/dcEngine.h"
#include "engine/math/Color.h"
#include "engine/physics/BoxGeom.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/video/TextureResource.h"
#include "engine/video/VideoDevice.h"
#include "game/world/GameModule.h"
#include "game/world/OcclusionMessages.h"
#include "game/world/VisibilityManager.h"
#include "game/world/VisibilitySettings.h"
#include "game/world/dcCollisionCallback.h"
#include "game/world/dcWorldGeometry.h"
#include "render/device/DepthSurface.h"
#include "render/models/Camera.h"

#include <algorithm>
#include <memory>
#include <numbers>
#include <unordered_set>

namespace {

constexpr int32_t kTargetEdge = 512;
// The ground probe reaches this far above and below the block.
constexpr float kProbeReach = 10000.0f;
constexpr int32_t kViewCount = 4;
constexpr float kViewNear = 1.0f;
constexpr int32_t kMostPolls = 100;
constexpr float kPollPause = 0.001f;
constexpr float kDegree = std::numbers::pi_v<float> / 180.0f;

OccluderRecord MakeRecord(MessageReceiver* entity, const dcOcclusionData& answer)
{
    OccluderRecord record;
    record.entity = entity;
    record.boxCentre = answer.boxCentre;
    record.boxHalfExtents = answer.boxHalfExtents;
    record.world = answer.world;
    record.worldCentre = Vec3::TransformPoint(answer.boxCentre, answer.world);
    record.radius = answer.boxHalfExtents.Length();
    record.distanceFactor = answer.distanceFactor;
    return record;
}

std::vector<OccluderRecord> GatherOccluders(const std::vector<MessageReceiver*>& entities)
{
    std::vector<OccluderRecord> records;
    for (MessageReceiver* entity : entities) {
        dcOcclusionData answer{};
        answer.world = kIdentityMatrix;
        if (entity->Send(answer) != 0) {
            records.push_back(MakeRecord(entity, answer));
        }
    }
    return records;
}

// A flat box (a road, a square) still meets what it lies in: the collision
// library finds no contact with a box of no thickness.
Vec3 Thickened(const Vec3& halfExtents)
{
    constexpr float kThinnest = 0.01f;
    return {std::max(halfExtents.x, kThinnest), std::max(halfExtents.y, kThinnest),
            std::max(halfExtents.z, kThinnest)};
}

float SquaredDistance(const Vec3& a, const Vec3& b)
{
    const Vec3 d = a - b;
    return Vec3::Dot(d, d);
}

// A camera near corner i of the block, turned (90 i - 45) degrees about the
// up axis: the four look across the block from its corners.
void AimCompileCamera(Camera& camera, const BoundingBox& block, int32_t corner)
{
    static constexpr float kCornerX[kViewCount] = {-1.0f, 1.0f, 1.0f, -1.0f};
    static constexpr float kCornerZ[kViewCount] = {1.0f, 1.0f, -1.0f, -1.0f};
    const VisibilitySettings& settings = TheVisibilitySettings();
    const Vec3 offset{kCornerX[corner] * block.halfExtents.x, 0.0f, kCornerZ[corner] * block.halfExtents.z};
    camera.SetPosition(block.centre + Vec3::Scale(offset, settings.offsetScale));
    const float turn = (90.0f * static_cast<float>(corner) - 45.0f) * kDegree;
    camera.SetOrientation(Quaternion::Conjugate(Quaternion::FromAxisAngle(kWorldUp, turn)));
    camera.SetNearPlane(kViewNear);
    camera.SetFarPlane(settings.viewDistance);
    camera.SetFov(settings.compileFov * kDegree);
    camera.SetViewport({0, 0, kTargetEdge, kTargetEdge});
    camera.Update();
}

} // namespace

bool OccluderRecord::IsInView(const Camera& camera) const
{
    const float reach = distanceFactor * camera.GetFarPlane() + radius;
    if (reach * reach < SquaredDistance(worldCentre, camera.GetPosition())) {
        return false;
    }
    return camera.GetFrustum().IsBoxVisible(BoundingBox::Transform({boxCentre, boxHalfExtents}, world));
}

VisibilityQuery::~VisibilityQuery()
{
    if (VideoDevice* device = GetDevice()) {
        device->ReleaseQuery(*this);
    }
}

void VisibilityQuery::OnResult(bool occluded)
{
    if (!occluded) {
        manager.ListInBlock(block, entity);
    }
    if (VideoDevice* device = GetDevice()) {
        device->ReleaseQuery(*this);
    }
    done = true;
}

// The registered entities, then the world's other entities that take part
// (all of them when a cache was read and nothing was registered), so that a
// compile never builds on the lists it replaces.
std::vector<MessageReceiver*> VisibilityManager::CompileEntities() const
{
    std::vector<MessageReceiver*> entities = registered_.Members();
    std::erase(entities, nullptr);
    if (const Scene* scene = GetScene()) {
        std::vector<MessageReceiver*> members;
        scene->CollectHandlers(dcOcclusionData::Identity().Id(), members);
        const std::unordered_set<MessageReceiver*> registered(entities.begin(), entities.end());
        for (MessageReceiver* member : members) {
            if (!registered.contains(member)) {
                entities.push_back(member);
            }
        }
    }
    return entities;
}

void VisibilityManager::Compile()
{
    if (!Build(worldBox_)) {
        return;
    }
    ClearBlockLists();
    GameModule* game = GameModule::Get();
    CompileRun run;
    run.video = dcEngine::Instance().GetVideoDevice();
    run.ground = game ? &game->GetWorld().GetGeometry() : nullptr;
    std::unique_ptr<TextureResource> target;
    std::unique_ptr<DepthSurface> depth;
    if (run.video) {
        target = run.video->CreateTexture(
            {kTextureXrgb32, kTextureKind2D, kTargetEdge, kTargetEdge, kTargetEdge, kTargetEdge, 1, false, true, false});
        depth = run.video->CreateDepthStencil({kTargetEdge, kTargetEdge, kTextureD24S8, false, target.get()});
        run.video->SetRenderTarget(target.get());
        run.video->SetDepthStencil(depth.get());
    }
    run.records = GatherOccluders(CompileEntities());
    const int32_t blockCount = static_cast<int32_t>(blocks_.size());
    for (int32_t block = 0; block < blockCount; ++block) {
        CompileBlock(run, block);
    }
    run.queries.clear();
    if (run.video) {
        run.video->SetRenderTarget(nullptr);
        run.video->SetDepthStencil(nullptr);
    }
}

void VisibilityManager::CompileBlock(CompileRun& run, int32_t block)
{
    run.queries.clear();
    if (!SelectCandidates(run, block)) {
        LogHub::Printf("Ignoring block");
        return;
    }
    if (run.video) {
        Camera camera;
        for (int32_t corner = 0; corner < kViewCount; ++corner) {
            AimCompileCamera(camera, blocks_[static_cast<size_t>(block)].box, corner);
            RenderCompileView(run, camera, block);
        }
        AwaitQueries(run);
    }
    LogHub::Printf("Block has %d visible entities",
                   static_cast<int32_t>(blocks_[static_cast<size_t>(block)].entities.size()));
}

bool VisibilityManager::SelectCandidates(CompileRun& run, int32_t block)
{
    run.candidates.clear();
    const BoundingBox& box = blocks_[static_cast<size_t>(block)].box;
    if (!run.ground) {
        return false;
    }
    dcCollisionCallback callback;
    BoxGeom column({box.halfExtents.x, box.halfExtents.y + kProbeReach, box.halfExtents.z});
    column.SetOwner(&callback);
    column.SetPosition(box.centre);
    PhysicsWorld::TestPair(run.ground->GetWorld(), column, *run.ground);
    if (!callback.WasHit()) {
        return false;
    }
    const float blockRadius = box.halfExtents.Length();
    for (const OccluderRecord& record : run.records) {
        const float reach = blockRadius + record.radius;
        bool standsInColumn = false;
        if (SquaredDistance(record.worldCentre, box.centre) <= reach * reach) {
            BoxGeom shape(Thickened(record.boxHalfExtents));
            shape.SetRotation(record.world);
            shape.SetPosition(record.worldCentre);
            standsInColumn = shape.TestAgainst(column);
        }
        if (standsInColumn) {
            ListInBlock(block, record.entity);
        } else {
            run.candidates.push_back(record);
        }
    }
    return true;
}

void VisibilityManager::RenderCompileView(CompileRun& run, const Camera& camera, int32_t block)
{
    if (GameModule* game = GameModule::Get()) {
        game->GetWorld().AimShaders(camera);
    }
    run.video->BeginFrame();
    run.video->Clear(kClearDepth | kClearStencil, kOpaqueWhite, 1.0f, 0);
    DrawCandidates(run, camera, 0, block);
    DrawCandidates(run, camera, 1, block);
    run.video->EndFrame();
    run.video->UpdateQueries(false);
    LogHub::Printf("Sector %d / %d", block + 1, static_cast<int32_t>(blocks_.size()));
}

// Pass 0 fills the depth with every candidate; pass 1 draws each again
// inside its own query, so only what the others leave uncovered counts.
void VisibilityManager::DrawCandidates(CompileRun& run, const Camera& camera, int32_t pass, int32_t block)
{
    const dcOcclusionRender render{&camera, pass, 1 << pass};
    for (const OccluderRecord& record : run.candidates) {
        if (!record.IsInView(camera)) {
            continue;
        }
        if (pass == 0) {
            record.entity->Send(render);
            continue;
        }
        VisibilityQuery& query = run.queries.emplace_back(*this, block, record.entity);
        run.video->AcquireQuery(query);
        query.Begin();
        record.entity->Send(render);
        query.End();
    }
}

void VisibilityManager::AwaitQueries(CompileRun& run)
{
    for (int32_t poll = 1; poll <= kMostPolls; ++poll) {
        run.video->UpdateQueries(true);
        if (std::all_of(run.queries.begin(), run.queries.end(), [](const VisibilityQuery& q) { return q.done; })) {
            LogHub::Printf("Occlusion completed after %d runs", poll);
            return;
        }
        SleepSeconds(kPollPause);
    }
    LogHub::Printf("Occlusion test missed!!");
}
