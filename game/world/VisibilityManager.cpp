#include "game/world/VisibilityManager.h"

#include "engine/core/FrameMessages.h"
#include "engine/core/LogHub.h"
#include "engine/core/MessageReceiver.h"
#include "engine/core/ProgramState.h"
#include "engine/core/Scene.h"
#include "engine/core/dcEngine.h"
#include "engine/math/Color.h"
#include "engine/video/VideoDevice.h"
#include "game/world/GameMessages.h"
#include "game/world/GameModule.h"
#include "game/world/OcclusionMessages.h"
#include "game/world/VisibilitySettings.h"
#include "render/models/Camera.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr Color kBlockSeesSomething = kOpaqueWhite;
constexpr Color kBlockSeesNothing{1.0f, 0.0f, 0.0f, 1.0f};

// Deletions asked for while the manager hands out messages wait until it is
// done, so no entity it holds is freed under it.
class SceneDispatch {
public:
    explicit SceneDispatch(Scene* scene) : scene_(scene)
    {
        if (scene_) {
            scene_->EnterDispatch();
        }
    }
    ~SceneDispatch()
    {
        if (scene_) {
            scene_->LeaveDispatch();
        }
    }
    SceneDispatch(const SceneDispatch&) = delete;
    SceneDispatch& operator=(const SceneDispatch&) = delete;

private:
    Scene* scene_;
};

} // namespace

VisibilityManager::VisibilityManager() : splitCount_(TheVisibilitySettings().splitCount) {}

ReceiverList* VisibilityManager::ListFor(MessageReceiver* receiver)
{
    if (receiver->HandlesMessage(dcOcclusionData::Identity().Id())) {
        return nullptr;
    }
    if (receiver->HandlesMessage(dcVisTest::Identity().Id())) {
        return &moving_;
    }
    if (receiver->HandlesMessage(dcRender::Identity().Id())) {
        return &unconditional_;
    }
    return nullptr;
}

void VisibilityManager::OnAdded(MessageReceiver* receiver)
{
    if (ReceiverList* list = ListFor(receiver)) {
        list->Append(receiver);
    }
}

void VisibilityManager::OnRemoved(MessageReceiver* receiver)
{
    Forget(receiver);
}

void VisibilityManager::OnDestroyed(MessageReceiver* receiver)
{
    Forget(receiver);
}

void VisibilityManager::Forget(MessageReceiver* receiver)
{
    moving_.Erase(receiver);
    unconditional_.Erase(receiver);
    registered_.Erase(receiver);
    visible_.Erase(receiver);
    if (listedInBlocks_.erase(receiver) == 0) {
        return;
    }
    // Blanked rather than erased, as a cache entry whose entity never existed.
    for (VisibilityBlock& block : blocks_) {
        std::replace(block.entities.begin(), block.entities.end(), receiver, static_cast<MessageReceiver*>(nullptr));
    }
}

void VisibilityManager::AddEntity(MessageReceiver* receiver)
{
    registered_.Append(receiver);
    idBase_ = std::min(idBase_, receiver->GetId());
}

void VisibilityManager::AddMovingEntity(MessageReceiver* receiver)
{
    moving_.Append(receiver);
}

void VisibilityManager::RemoveMovingEntity(MessageReceiver* receiver)
{
    moving_.Erase(receiver);
}

bool VisibilityManager::GridSize(const BoundingBox& worldBox, int32_t splitCount, int32_t& blocksX, int32_t& blocksZ)
{
    const float hx = worldBox.halfExtents.x;
    const float hz = worldBox.halfExtents.z;
    if (splitCount < 1 || !(hx > 0.0f) || !(hz > 0.0f) || !std::isfinite(hx) || !std::isfinite(hz)) {
        return false;
    }
    const float shorter = hx <= hz ? hx : hz;
    const double x = std::trunc(static_cast<double>(splitCount * hx / shorter));
    const double z = std::trunc(static_cast<double>(splitCount * hz / shorter));
    if (x * z > static_cast<double>(kMostBlocks)) {
        return false;
    }
    blocksX = static_cast<int32_t>(x);
    blocksZ = static_cast<int32_t>(z);
    return true;
}

bool VisibilityManager::Build(const BoundingBox& worldBox)
{
    const int32_t splitCount = TheVisibilitySettings().splitCount;
    int32_t blocksX = 0;
    int32_t blocksZ = 0;
    if (!GridSize(worldBox, splitCount, blocksX, blocksZ)) {
        LogHub::PrintError("Visibility grid refused: split count %d over half extents %.2f x %.2f", splitCount,
                           static_cast<double>(worldBox.halfExtents.x), static_cast<double>(worldBox.halfExtents.z));
        return false;
    }
    splitCount_ = splitCount;
    worldBox_ = worldBox;
    blocksX_ = blocksX;
    blocksZ_ = blocksZ;
    blocks_.resize(static_cast<size_t>(blocksX) * static_cast<size_t>(blocksZ));
    const Vec3& c = worldBox.centre;
    const float hx = worldBox.halfExtents.x;
    const float hz = worldBox.halfExtents.z;
    const float ex = hx / static_cast<float>(blocksX);
    const float ez = hz / static_cast<float>(blocksZ);
    for (int32_t i = 0; i < blocksX; ++i) {
        for (int32_t j = 0; j < blocksZ; ++j) {
            blocks_[static_cast<size_t>(i) * blocksZ + j].box = {
                {c.x - hx + static_cast<float>(2 * i + 1) * ex, kBlockCentreHeight,
                 c.z - hz + static_cast<float>(2 * j + 1) * ez},
                {ex, kBlockHalfHeight, ez}};
        }
    }
    OfferCommands();
    return true;
}

// In test mode the level maker tunes and compiles the grid from the console,
// also when the grid came from a cache.
void VisibilityManager::OfferCommands()
{
    GameModule* game = GameModule::Get();
    if (testMode && game) {
        RegisterVisibilityCommands(*game);
    }
}

bool VisibilityManager::TakeCache(const WideString& source, int32_t splitCount, const BoundingBox& worldBox,
                                  std::vector<VisibilityBlock> blocks)
{
    int32_t blocksX = 0;
    int32_t blocksZ = 0;
    if (!GridSize(worldBox, splitCount, blocksX, blocksZ)) {
        LogHub::PrintError("%s holds no usable grid (split count %d); it is ignored", source.c_str(), splitCount);
        return false;
    }
    const int64_t expected = static_cast<int64_t>(blocksX) * blocksZ;
    if (static_cast<int64_t>(blocks.size()) != expected) {
        LogHub::PrintError("%s holds %d blocks where its grid has %d; it is ignored", source.c_str(),
                           static_cast<int32_t>(blocks.size()), static_cast<int32_t>(expected));
        return false;
    }
    for (const VisibilityBlock& block : blocks_) {
        for (MessageReceiver* entity : block.entities) {
            listedInBlocks_.erase(entity);
        }
    }
    blocks_ = std::move(blocks);
    for (const VisibilityBlock& block : blocks_) {
        listedInBlocks_.insert(block.entities.begin(), block.entities.end());
    }
    listedInBlocks_.erase(nullptr);
    splitCount_ = splitCount;
    worldBox_ = worldBox;
    blocksX_ = blocksX;
    blocksZ_ = blocksZ;
    OfferCommands();
    return true;
}

bool VisibilityManager::TakeWorldBox(const WideString& source, const BoundingBox& worldBox)
{
    int32_t blocksX = 0;
    int32_t blocksZ = 0;
    if (!GridSize(worldBox, splitCount_, blocksX, blocksZ) || blocksX != blocksX_ || blocksZ != blocksZ_) {
        LogHub::PrintError("%s was made for another world box; it is ignored", source.c_str());
        ClearBlockLists();
        return false;
    }
    worldBox_ = worldBox;
    return true;
}

void VisibilityManager::ClearBlockLists()
{
    for (VisibilityBlock& block : blocks_) {
        block.entities.clear();
    }
    listedInBlocks_.clear();
}

void VisibilityManager::ListInBlock(int32_t block, MessageReceiver* entity)
{
    std::vector<MessageReceiver*>& entities = blocks_[static_cast<size_t>(block)].entities;
    std::erase(entities, entity);
    entities.push_back(entity);
    listedInBlocks_.insert(entity);
}

int32_t VisibilityManager::FindBlock(const Vec3& point) const
{
    if (blocksX_ == 0 || blocksZ_ == 0) {
        return -1;
    }
    const Vec3 r = point - (worldBox_.centre - worldBox_.halfExtents);
    const float fx = r.x / (2.0f * worldBox_.halfExtents.x / static_cast<float>(blocksX_));
    const float fz = r.z / (2.0f * worldBox_.halfExtents.z / static_cast<float>(blocksZ_));
    if (!(fx >= 0.0f && fx < static_cast<float>(blocksX_) && fz >= 0.0f && fz < static_cast<float>(blocksZ_))) {
        return -1;
    }
    return static_cast<int32_t>(std::trunc(fx)) * blocksZ_ + static_cast<int32_t>(fz);
}

void VisibilityManager::TestEntity(MessageReceiver* receiver, const Camera& camera, int32_t firstPass,
                                   int32_t passCount)
{
    const dcVisTest test{&camera, firstPass, passCount, 0, 1, {}};
    receiver->Send(test);
    if (test.visible != 0 && test.wantsRender != 0) {
        visible_.Append(receiver);
    }
}

void VisibilityManager::Query(const Camera& camera, int32_t firstPass, int32_t passCount)
{
    visible_.Clear();
    SceneDispatch dispatch(GetScene());
    const int32_t index = FindBlock(camera.GetPosition());
    if (index >= 0) {
        // Walked by position: an entity that leaves meanwhile is blanked, not erased.
        std::vector<MessageReceiver*>& entities = blocks_[static_cast<size_t>(index)].entities;
        for (size_t k = 0; k < entities.size(); ++k) {
            if (MessageReceiver* entity = entities[k]) {
                TestEntity(entity, camera, firstPass, passCount);
            }
        }
    }
    moving_.ForEach([&](MessageReceiver* entity) { TestEntity(entity, camera, firstPass, passCount); });
    registered_.ForEach([&](MessageReceiver* entity) { TestEntity(entity, camera, firstPass, passCount); });
}

void VisibilityManager::Render(const Camera& camera, int32_t firstPass, int32_t passCount)
{
    SceneDispatch dispatch(GetScene());
    for (int32_t pass = firstPass; pass < firstPass + passCount; ++pass) {
        const dcRender render{&camera, pass, 1 << pass, 0};
        visible_.ForEach([&](MessageReceiver* entity) { entity->Send(render); });
        unconditional_.ForEach([&](MessageReceiver* entity) { entity->Send(render); });
    }
}

void VisibilityManager::DrawBlocks(const Camera& camera) const
{
    VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    if (!video) {
        return;
    }
    for (const VisibilityBlock& block : blocks_) {
        if (!camera.GetFrustum().IsBoxVisible(block.box)) {
            continue;
        }
        Vec3 corners[8];
        int32_t edges[24];
        BoundingBox::GetCorners(block.box, corners, edges);
        const Color& colour = block.entities.empty() ? kBlockSeesNothing : kBlockSeesSomething;
        for (int32_t edge = 0; edge < 24; edge += 2) {
            video->DrawLine(corners[edges[edge]], corners[edges[edge + 1]], colour);
        }
    }
}
