#include "tests/game/world/WorldFilesFixture.h"
#include "tests/game/world/SplitCount.h"

#include "engine/core/ProgramState.h"
#include "engine/core/Scene.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/Stream.h"
#include "engine/math/Quaternion.h"
#include "game/world/OcclusionMessages.h"
#include "game/world/VisibilityCompile.h"
#include "game/world/VisibilityManager.h"
#include "game/world/VisibilitySettings.h"
#include "render/models/Camera.h"
#include "tests/support/CapturingSink.h"

#include <cstring>
#include <numbers>

namespace {

const int32_t kOcclusionData = dcOcclusionData::Identity().Id();

// A world object as the compile sees it: a box at a pose.
class Occluder : public RecordingEntity {
public:
    Occluder(Vec3 centre, Vec3 half, float turnDegrees = 0.0f) : RecordingEntity({kOcclusionData}), half_(half)
    {
        pose_ = Quaternion::ToTransform(
            Quaternion::FromAxisAngle(kWorldUp, turnDegrees * std::numbers::pi_v<float> / 180.0f));
        pose_.m[3][0] = centre.x;
        pose_.m[3][1] = centre.y;
        pose_.m[3][2] = centre.z;
    }

    int32_t HandleMessage(int32_t identity, const void* payload, int32_t size, int32_t connection) override
    {
        const int32_t handled = RecordingEntity::HandleMessage(identity, payload, size, connection);
        if (identity != kOcclusionData) {
            return handled;
        }
        const auto* data = static_cast<const dcOcclusionData*>(payload);
        data->boxHalfExtents = half_;
        data->world = pose_;
        data->distanceFactor = 1.0f;
        return 1;
    }

private:
    Vec3 half_;
    Matrix44 pose_;
};

// The bytes of a cache file, field by field.
class CacheBytes {
public:
    CacheBytes& Raw(const std::string& bytes)
    {
        bytes_ += bytes;
        return *this;
    }
    CacheBytes& Int(int32_t value) { return Put(value); }
    CacheBytes& Float(float value) { return Put(value); }
    CacheBytes& Box(Vec3 centre, Vec3 half)
    {
        for (float v : {centre.x, centre.y, centre.z, half.x, half.y, half.z}) {
            Float(v);
        }
        return *this;
    }
    // A block of the given box and ids.
    CacheBytes& Block(std::initializer_list<int32_t> ids)
    {
        Box({0, 75, 0}, {10, 80, 10}).Int(static_cast<int32_t>(ids.size()));
        for (int32_t id : ids) {
            Int(id);
        }
        return *this;
    }
    const std::string& Bytes() const { return bytes_; }

private:
    template <class T>
    CacheBytes& Put(T value)
    {
        char raw[sizeof value];
        std::memcpy(raw, &value, sizeof value);
        bytes_.append(raw, sizeof value);
        return *this;
    }

    std::string bytes_;
};

// A cache's header up to its block count: split 1 over half extents (30, 50, 10), a 3 x 1 grid.
CacheBytes Header(int32_t version, int32_t idBase)
{
    CacheBytes bytes;
    bytes.Raw("DC2").Int(version).Int(1).Box({0, 0, 0}, {30, 50, 10});
    if (version == 2) {
        bytes.Int(idBase);
    }
    return bytes;
}

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class VisibilityCacheTest : public WorldFilesTest {
protected:
    VisibilityCacheTest()
    {
        std::filesystem::create_directory("Misc");
        World::VisibilityCacheExisted().reset();
    }
    ~VisibilityCacheTest() override
    {
        World::VisibilityCacheExisted().reset();
        DropEntities();
    }

    void DropEntities()
    {
        for (RecordingEntity* entity : owned) {
            if (entity->GetScene()) {
                entity->GetScene()->Remove(entity);
            }
            delete entity;
        }
        owned.clear();
    }

    VisibilityManager& Visibility() { return Game().GetWorld().GetVisibility(); }

    template <class Entity>
    Entity* JoinWithId(Entity* entity, int32_t id)
    {
        owned.push_back(entity);
        Game().GetScene().AddWithId(entity, id);
        return entity;
    }
    Occluder* Join(Occluder* entity)
    {
        owned.push_back(entity);
        Game().GetScene().Add(entity);
        return entity;
    }

    std::vector<RecordingEntity*> owned;
};

using Entities = std::vector<MessageReceiver*>;

} // namespace

TEST_F(VisibilityCacheTest, BothVersionsAreReadAndVersionTwoIdsFollowTheIdBase)
{
    RecordingEntity* at530 = JoinWithId(new RecordingEntity({kOcclusionData}), 530);
    RecordingEntity* at510 = JoinWithId(new RecordingEntity({kOcclusionData}), 510);
    RecordingEntity* at20 = JoinWithId(new RecordingEntity({kOcclusionData}), 20);
    // Ids that name something other than a world object stay empty too.
    JoinWithId(new RecordingEntity({dcVisTest::Identity().Id()}), 540);

    // Written with id base 500, read with 520: 510 is now 530, 0 is 20; -20 + 20 is 0.
    WriteFile("Misc/Two.DCV", Header(2, 500).Int(3).Block({510, -20, 777}).Block({}).Block({520, 0}).Bytes());
    Visibility().SetIdBase(520);
    ASSERT_TRUE(Visibility().Load(L"Misc\\Two.DCV"));
    ASSERT_EQ(Visibility().GetBlocks().size(), 3u);
    EXPECT_EQ(Visibility().GetBlocks()[0].entities, (Entities{at530, nullptr, nullptr}));
    EXPECT_TRUE(Visibility().GetBlocks()[1].entities.empty());
    EXPECT_EQ(Visibility().GetBlocks()[2].entities, (Entities{nullptr, at20}));
    EXPECT_EQ(Visibility().GetBlocksX(), 3);
    EXPECT_FLOAT_EQ(Visibility().GetWorldBox().halfExtents.x, 30.0f);

    // Version 1 has no id base: ids are taken as they stand, and the base stays.
    WriteFile("Misc/One.DCV", Header(1, 0).Int(3).Block({510}).Block({530, 0}).Block({}).Bytes());
    ASSERT_TRUE(Visibility().Load(L"Misc\\One.DCV"));
    EXPECT_EQ(Visibility().GetBlocks()[0].entities, (Entities{at510}));
    EXPECT_EQ(Visibility().GetBlocks()[1].entities, (Entities{at530, nullptr}));
    EXPECT_EQ(Visibility().GetIdBase(), 520);
}

TEST_F(VisibilityCacheTest, AFileThatIsNoUsableCacheIsRefusedWithOneLineAndChangesNothing)
{
    struct Case {
        const char* what;
        std::string bytes;
        const wchar_t* refusal;   // none: refused silently
    };
    const std::string good = Header(2, 0).Int(3).Block({}).Block({}).Block({}).Bytes();
    const std::vector<Case> cases = {
        {"short", std::string("DC2\x02\x00\x00", 6), L"is not a visibility cache"},
        {"magic", "DC3" + good.substr(3), L"is not a visibility cache"},
        // Not read on: an unknown layout's block list lies nowhere known.
        {"version 3", Header(3, 0).Int(3).Bytes() + good.substr(39), L"is obsolete"},
        {"version 0", "DC2" + std::string(4, '\0') + good.substr(7), L"is obsolete"},
        {"block count beyond the file", Header(2, 0).Int(1000000).Block({}).Bytes(), L"contains errors"},
        {"negative block count", Header(2, 0).Int(-3).Block({}).Bytes(), L"contains errors"},
        {"id count beyond the file", Header(2, 0).Int(3).Block({}).Block({}).Box({}, {}).Int(1 << 30).Bytes(),
         L"contains errors"},
        {"cut short in a block", good.substr(0, good.size() - 2), L"contains errors"},
        {"blocks unlike the grid", Header(2, 0).Int(2).Block({}).Block({}).Bytes(), L"holds 2 blocks"},
        {"no grid", "DC2" + CacheBytes().Int(2).Int(0).Bytes() + good.substr(11), L"holds no usable grid"},
    };
    SplitCount split(2);
    ASSERT_TRUE(Visibility().Build({{0, 0, 0}, {10, 10, 10}}));
    for (const Case& c : cases) {
        WriteFile("Misc/Bad.DCV", c.bytes);
        ScopedCapture log;
        EXPECT_FALSE(Visibility().Load(L"Misc\\Bad.DCV")) << c.what;
        EXPECT_EQ(log->lines.size(), 1u) << c.what;
        EXPECT_EQ(log->Count(L"Misc\\Bad.DCV"), 1) << c.what;
        EXPECT_EQ(log->Count(c.refusal), 1) << c.what;
        EXPECT_EQ(Visibility().GetBlocks().size(), 4u) << c.what;
        EXPECT_EQ(Visibility().GetSplitCount(), 2) << c.what;
    }
    ScopedCapture log;
    EXPECT_FALSE(Visibility().Load(L"Misc\\Missing.DCV"));
    EXPECT_TRUE(log->lines.empty());
}

TEST_F(VisibilityCacheTest, ASavedCacheReadsBackAndWideningListsEachNeighbourOnce)
{
    SplitCount split(3);
    ASSERT_TRUE(Visibility().Build({{0, 0, 0}, {30, 50, 30}}));
    Visibility().SetIdBase(100);
    std::vector<RecordingEntity*> e;
    for (int32_t k = 0; k < 5; ++k) {
        e.push_back(JoinWithId(new RecordingEntity({kOcclusionData}), 100 + k));
    }
    // Block (i, j) at index 3i + j; the centre is 4.
    std::vector<VisibilityBlock> blocks = Visibility().GetBlocks();
    blocks[0].entities = {e[0], e[1]};
    blocks[2].entities = {e[1], nullptr};
    blocks[4].entities = {e[4]};
    blocks[5].entities = {e[2]};
    blocks[8].entities = {e[3], e[0]};
    ASSERT_TRUE(Visibility().TakeCache(L"test", 3, Visibility().GetWorldBox(), blocks));

    ASSERT_TRUE(Visibility().Save(L"Misc\\Plain.DCV", false));
    const std::string plain = FileBytes("Misc/Plain.DCV");
    // "DC2", version 2, split 3, the box, id base 100, 9 blocks; the first: its box, 2, ids 100 and 101.
    const std::string header = CacheBytes().Raw("DC2").Int(2).Int(3).Box({0, 0, 0}, {30, 50, 30}).Int(100).Int(9).Bytes();
    EXPECT_EQ(plain.substr(0, 43), header);
    EXPECT_EQ(plain.substr(67, 12), CacheBytes().Int(2).Int(100).Int(101).Bytes());

    ASSERT_TRUE(Visibility().Save(L"Misc\\Wide.DCV", true));
    EXPECT_EQ(Visibility().GetBlocks()[4].entities, (Entities{e[4], e[0], e[1], e[2], e[3]}));
    for (size_t border : {0u, 1u, 2u, 3u, 5u, 6u, 7u, 8u}) {
        EXPECT_EQ(Visibility().GetBlocks()[border].entities, blocks[border].entities) << border;
    }

    // Read back into a fresh grid: the empty entry was not written.
    ASSERT_TRUE(Visibility().Build({{0, 0, 0}, {30, 50, 30}}));
    ASSERT_TRUE(Visibility().Load(L"Misc\\Plain.DCV"));
    EXPECT_EQ(Visibility().GetBlocks()[0].entities, blocks[0].entities);
    EXPECT_EQ(Visibility().GetBlocks()[2].entities, (Entities{e[1]}));
    EXPECT_EQ(Visibility().GetBlocks()[4].entities, (Entities{e[4]}));
    ASSERT_TRUE(Visibility().Load(L"Misc\\Wide.DCV"));
    EXPECT_EQ(Visibility().GetBlocks()[4].entities.size(), 5u);
}

TEST(OccluderRecord, ACandidateMustBeNearEnoughAndInsideTheFrustum)
{
    Camera camera;
    camera.SetFarPlane(1000.0f);
    camera.SetFov(90.0f * std::numbers::pi_v<float> / 180.0f);
    camera.Update();
    struct Case {
        Vec3 at;
        float factor;
        bool seen;
    };
    // The camera looks along z from the origin, one way or the other; the boxes have radius sqrt(3).
    const float ahead = camera.GetFrustum().IsBoxVisible({{0, 0, 10}, {1, 1, 1}}) ? 1.0f : -1.0f;
    for (const Case& c : std::initializer_list<Case>{{{0, 0, 500}, 1.0f, true},
                                                     {{0, 0, 1001}, 1.0f, true},
                                                     {{0, 0, 1002}, 1.0f, false},
                                                     {{0, 0, 300}, 0.33f, true},
                                                     {{0, 0, 340}, 0.33f, false},
                                                     {{0, 0, -500}, 1.0f, false},
                                                     {{800, 0, 100}, 1.0f, false}}) {
        const Vec3 at{c.at.x, c.at.y, c.at.z * ahead};
        OccluderRecord record;
        record.boxHalfExtents = {1, 1, 1};
        record.world.m[3][0] = at.x;
        record.world.m[3][1] = at.y;
        record.world.m[3][2] = at.z;
        record.worldCentre = at;
        record.radius = std::sqrt(3.0f);
        record.distanceFactor = c.factor;
        EXPECT_EQ(record.IsInView(camera), c.seen) << c.at.x << ", " << c.at.z << " x " << c.factor;
    }
}

// Without a device the compile lists what stands in each block's column:
// the exact box, turned as its pose says, decides; a block over no ground
// is skipped.
TEST_F(VisibilityCacheTest, TheCompileListsWhatStandsInAColumnOverGround)
{
    LoadWorld(L"Maps\\Small.DCW");
    SplitCount split(1);
    // Two blocks of 1000 along x; the ground (500 around the origin) lies under the first only.
    ASSERT_TRUE(Visibility().Build({{1000, 50, 0}, {1000, 50, 500}}));
    Occluder* inside = Join(new Occluder({250, 10, 0}, {5, 5, 5}));
    Join(new Occluder({250, 10, 600}, {5, 5, 5}));             // its sphere touches, its box does not
    Occluder* reaching = Join(new Occluder({250, 10, 520}, {2, 2, 30}));
    Join(new Occluder({250, 10, 520}, {2, 2, 30}, 90.0f));     // turned along x, short of the column
    Join(new Occluder({1500, 10, 0}, {5, 5, 5}));              // over no ground
    MessageReceiver* ground = Visibility().GetRegisteredEntities().at(0);

    ScopedCapture log(kLogMessage);
    Visibility().Compile();
    ASSERT_EQ(Visibility().GetBlocks().size(), 2u);
    EXPECT_EQ(Visibility().GetBlocks()[0].entities, (Entities{ground, inside, reaching}));
    EXPECT_TRUE(Visibility().GetBlocks()[1].entities.empty());
    EXPECT_EQ(log->Count(L"Block has 3 visible entities"), 1);
    EXPECT_EQ(log->Count(L"Ignoring block"), 1);
}

TEST_F(VisibilityCacheTest, TheLoaderReadsTheCacheWhenItExistedAtTheRunsFirstLoad)
{
    SplitCount split(4);
    LoadWorld(L"Maps\\Small.DCW");
    ASSERT_EQ(World::VisibilityCacheExisted(), std::optional<bool>(false));
    MessageReceiver* ground = Visibility().GetRegisteredEntities().at(0);
    const int32_t groundBlock = 5;
    std::vector<VisibilityBlock> blocks = Visibility().GetBlocks();
    blocks[groundBlock].entities = {ground};
    ASSERT_TRUE(Visibility().TakeCache(L"test", 4, Visibility().GetWorldBox(), blocks));
    ASSERT_TRUE(Visibility().Save(VisibilityManager::kCacheFile, false));

    // The answer of the run's first load holds: no cache yet.
    DropGame();
    LoadWorld(L"Maps\\Small.DCW");
    EXPECT_EQ(Visibility().GetRegisteredEntities().size(), 1u);

    // A run that starts with the cache reads it, and nothing is registered.
    DropGame();
    World::VisibilityCacheExisted().reset();
    {
        ScopedCapture log;
        LoadWorld(L"Maps\\Small.DCW");
        EXPECT_EQ(log->Count(L"Misc\\World.DCV read: 16 blocks"), 1);
    }
    EXPECT_TRUE(Visibility().GetRegisteredEntities().empty());
    ASSERT_EQ(Visibility().GetBlocks().size(), 16u);
    ASSERT_EQ(Visibility().GetBlocks()[groundBlock].entities.size(), 1u);
    EXPECT_EQ(Visibility().GetBlocks()[groundBlock].entities[0]->GetClassName(), L"dcWorldObject");
    EXPECT_FLOAT_EQ(Visibility().GetWorldBox().centre.y, Game().GetWorld().GetBox().centre.y);

    // A cache that cannot be used: every object is registered as without one.
    DropGame();
    World::VisibilityCacheExisted().reset();
    WriteFile("Misc/World.DCV", CacheBytes().Raw("DC2").Int(7).Raw(" and more").Bytes());
    ScopedCapture log(kLogError);
    LoadWorld(L"Maps\\Small.DCW");
    EXPECT_EQ(log->lines, std::vector<WideString>{L"Misc\\World.DCV is obsolete"});
    EXPECT_EQ(Visibility().GetRegisteredEntities().size(), 1u);
    EXPECT_EQ(Visibility().GetBlocks().size(), 16u);
}

// VISCOMPILE writes the cache as compiled and widened; a second compile
// starts afresh, also after a cache was read, so it never widens twice.
TEST_F(VisibilityCacheTest, EveryCompileStartsAfreshAndWritesBothFiles)
{
    SplitCount split(3);
    const bool wasTestMode = testMode;
    testMode = true;
    LoadWorld(L"Maps\\Small.DCW");
    testMode = wasTestMode;
    ASSERT_TRUE(Game().HasCommand(L"VISCOMPILE"));
    // A crate in the corner block (0, 0) only.
    Join(new Occluder({-400, 10, -400}, {5, 5, 5}));

    Game().RunCommand(L"VISCOMPILE", L"");
    const std::string plain = FileBytes("Misc/PreFuckWorld.DCV");
    const std::string wide = FileBytes("Misc/World.DCV");
    ASSERT_FALSE(plain.empty());
    EXPECT_NE(plain, wide);
    EXPECT_EQ(Visibility().GetBlocks()[4].entities.size(), 2u);   // the ground and the crate
    Game().RunCommand(L"VISCOMPILE", L"");
    EXPECT_EQ(FileBytes("Misc/PreFuckWorld.DCV"), plain);
    EXPECT_EQ(FileBytes("Misc/World.DCV"), wide);

    // From the cache: nothing is registered, and the compile finds the objects in the scene.
    DropEntities();
    DropGame();
    World::VisibilityCacheExisted().reset();
    testMode = true;
    LoadWorld(L"Maps\\Small.DCW");
    testMode = wasTestMode;
    ASSERT_TRUE(Visibility().GetRegisteredEntities().empty());
    Join(new Occluder({-400, 10, -400}, {5, 5, 5}));
    Game().RunCommand(L"VISCOMPILE", L"");
    EXPECT_EQ(FileBytes("Misc/PreFuckWorld.DCV"), plain);
    EXPECT_EQ(FileBytes("Misc/World.DCV"), wide);
}
