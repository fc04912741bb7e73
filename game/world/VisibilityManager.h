#pragma once
// Decides once per frame which entities of the game scene are worth drawing,
// and then hands them the render passes. The world's floor plan is cut into a
// grid of columns, the blocks; each block lists the world objects that can be
// seen from inside it (computed offline and read from the visibility cache).
// A query asks the camera's block's entities, the moving entities and the
// entities registered without a cache whether they are visible (dcVisTest)
// and keeps those that say yes; rendering sends dcRender to the kept ones and
// to the entities that draw themselves whatever the camera sees.
//
// As an observer of the game scene it sorts every member by the messages it
// answers, and forgets members that leave: no list it walks ever holds an
// entity that has left the scene, even one that leaves while it is walked.

#include "engine/core/ReceiverList.h"
#include "engine/core/SceneObserver.h"
#include "engine/files/WideString.h"
#include "engine/math/BoundingBox.h"
#include "game/world/VisibilityBlock.h"

#include <cstdint>
#include <unordered_set>
#include <vector>

class Camera;
class MessageReceiver;
struct CompileRun;
struct VisibilityQuery;

class VisibilityManager : public SceneObserver {
public:
    static constexpr int32_t kNoIdBase = 10000000;
    // Blocks are columns from height -5 to 155, whatever the world's height.
    static constexpr float kBlockCentreHeight = 75.0f;
    static constexpr float kBlockHalfHeight = 80.0f;
    // More blocks than this come from a mistyped split count or a broken
    // world box, not from a level.
    static constexpr int64_t kMostBlocks = 1 << 20;
    // The cache the loader reads, and the compile's copy of it before widening.
    static constexpr const wchar_t* kCacheFile = L"Misc\\World.DCV";
    static constexpr const wchar_t* kUnwidenedCacheFile = L"Misc\\PreFuckWorld.DCV";

    VisibilityManager();

    void OnAdded(MessageReceiver* receiver) override;
    void OnRemoved(MessageReceiver* receiver) override;
    void OnDestroyed(MessageReceiver* receiver) override;

    // A world object or pedestrian the loader registered because no cache
    // was read: tested every frame.
    void AddEntity(MessageReceiver* receiver);
    // A world object that started (or stopped) moving.
    void AddMovingEntity(MessageReceiver* receiver);
    void RemoveMovingEntity(MessageReceiver* receiver);
    void SetIdBase(int32_t idBase) { idBase_ = idBase; }

    // The grid over the box at the current split count; blocks that existed
    // keep their lists. A box without floor extents, or a split count below
    // 1, is refused (logged) and the grid stays as it was.
    bool Build(const BoundingBox& worldBox);
    // A grid read from a cache, named by its source. Refused (logged, the
    // grid unchanged) unless it holds exactly the blocks its box and split
    // count make.
    bool TakeCache(const WideString& source, int32_t splitCount, const BoundingBox& worldBox,
                   std::vector<VisibilityBlock> blocks);
    // The world's own box in place of the cache's; refused (logged, and the
    // cache's lists dropped) unless it makes the same grid.
    bool TakeWorldBox(const WideString& source, const BoundingBox& worldBox);

    // Reads a visibility cache, its stored ids rebased onto the current id
    // base. False, with one log line naming the file, when it is not a
    // usable cache; the grid then stays as it was.
    bool Load(const WideString& name);
    // Writes the blocks. widen first gives each inner block its eight
    // neighbours' entities too, and keeps the widened lists.
    bool Save(const WideString& name, bool widen);
    // Rebuilds every block list from scratch, by drawing the world from the
    // corners of each block with occlusion queries. Without a video device
    // only the entities standing in a block's column are listed.
    void Compile();

    // Fills the visible entities for the camera and the passes.
    void Query(const Camera& camera, int32_t firstPass, int32_t passCount);
    // dcRender for each pass to the visible, then to the always-drawn entities.
    void Render(const Camera& camera, int32_t firstPass, int32_t passCount);
    // The edges of every block the camera can see: white when something is
    // visible from it, red when nothing is.
    void DrawBlocks(const Camera& camera) const;

    // The block holding the point on the floor plan; -1 outside the grid.
    int32_t FindBlock(const Vec3& point) const;
    int32_t GetBlocksX() const { return blocksX_; }
    int32_t GetBlocksZ() const { return blocksZ_; }
    const std::vector<VisibilityBlock>& GetBlocks() const { return blocks_; }
    const BoundingBox& GetWorldBox() const { return worldBox_; }
    int32_t GetSplitCount() const { return splitCount_; }
    int32_t GetIdBase() const { return idBase_; }
    const std::vector<MessageReceiver*>& GetVisibleEntities() const { return visible_.Members(); }
    const std::vector<MessageReceiver*>& GetMovingEntities() const { return moving_.Members(); }
    const std::vector<MessageReceiver*>& GetRegisteredEntities() const { return registered_.Members(); }
    const std::vector<MessageReceiver*>& GetUnconditionalEntities() const { return unconditional_.Members(); }

private:
    friend struct VisibilityQuery;

    // Which list the scene's member belongs in, by the messages it answers;
    // none for world objects, which the loader and the cache place.
    ReceiverList* ListFor(MessageReceiver* receiver);
    void TestEntity(MessageReceiver* receiver, const Camera& camera, int32_t firstPass, int32_t passCount);
    // Every trace of an entity that left the scene.
    void Forget(MessageReceiver* receiver);
    // The grid's size for the box and split count; false when they make none.
    static bool GridSize(const BoundingBox& worldBox, int32_t splitCount, int32_t& blocksX, int32_t& blocksZ);
    void OfferCommands();
    void ClearBlockLists();
    // Lists the entity in the block once, at the end.
    void ListInBlock(int32_t block, MessageReceiver* entity);
    void Widen();

    // The compile's parts.
    std::vector<MessageReceiver*> CompileEntities() const;
    void CompileBlock(CompileRun& run, int32_t block);
    // Lists the records standing in the block's column and makes the others
    // the block's candidates; false when the column meets no ground.
    bool SelectCandidates(CompileRun& run, int32_t block);
    void RenderCompileView(CompileRun& run, const Camera& camera, int32_t block);
    void DrawCandidates(CompileRun& run, const Camera& camera, int32_t pass, int32_t block);
    void AwaitQueries(CompileRun& run);

    std::vector<VisibilityBlock> blocks_;
    // Whatever some block lists, so that an entity leaving the scene is
    // looked for in the blocks only when it can be there.
    std::unordered_set<MessageReceiver*> listedInBlocks_;
    ReceiverList registered_;
    ReceiverList moving_;
    ReceiverList unconditional_;
    ReceiverList visible_;
    BoundingBox worldBox_;
    int32_t splitCount_;
    int32_t blocksX_ = 0;
    int32_t blocksZ_ = 0;
    int32_t idBase_ = kNoIdBase;
};
