// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"
#include "tests/game/world/SplitCount.h"

#include "engine/core/FrameMessages.h"
#include "engine/core/ProgramState.h"
#include "game/world/GameMessages.h"
#include "game/world/OcclusionMessages.h"
#include "game/world/VisibilityManager.h"
#include "game/world/VisibilitySettings.h"
#include "render/models/Camera.h"
#include "tests/support/CapturingSink.h"

#include <cmath>
#include <functional>
#include <limits>

namespace {

const int32_t kVisTest = dcVisTest::Identity().Id();
const int32_t kRender = dcRender::Identity().Id();
const int32_t kOcclusionData = dcOcclusionData::Identity().Id();

BoundingBox Box(Vec3 centre, Vec3 half)
{
    return {centre, half};
}

// Answers dcVisTest as told, and may act while it draws.
class Drawable : public RecordingEntity {
public:
    explicit Drawable(std::vector<int32_t> answered, uint8_t seen = 1, bool drawsItself = false)
        : RecordingEntity(std::move(answered)), seen_(seen), drawsItself_(drawsItself)
    {
    }

    int32_t HandleMessage(int32_t identity, const void* payload, int32_t size, int32_t connection) override
    {
        const int32_t handled = RecordingEntity::HandleMessage(identity, payload, size, connection);
        if (identity == kVisTest) {
            const auto* test = static_cast<const dcVisTest*>(payload);
            test->visible = seen_;
            if (drawsItself_) {
                test->wantsRender = 0;
            }
        }
        if (identity == kRender && onRender) {
            onRender();
        }
        return handled;
    }

    std::function<void()> onRender;

private:
    uint8_t seen_;
    bool drawsItself_;
};

// A world object: tested, never put in a list by the scene.
Drawable* WorldObject(uint8_t seen = 1)
{
    return new Drawable({kOcclusionData, kVisTest, kRender}, seen);
}

class VisibilityTest : public GameTest {
protected:
    VisibilityTest()
        : visibility(Game().GetWorld().GetVisibility())
        , gamesOwn(visibility.GetUnconditionalEntities())
    {
    }
    ~VisibilityTest() override
    {
        for (Drawable* entity : owned) {
            if (entity->GetScene()) {
                entity->GetScene()->Remove(entity);
            }
            delete entity;
        }
    }

    Drawable* Join(Drawable* entity)
    {
        owned.push_back(entity);
        Game().GetScene().Add(entity);
        return entity;
    }
    Drawable* Spark() { return Join(new Drawable({kRender})); }

    // Two blocks side by side along x over (-20..20, -10..10), as a cache gives them.
    void TakeTwoBlocks(std::vector<MessageReceiver*> first, std::vector<MessageReceiver*> second)
    {
        std::vector<VisibilityBlock> blocks(2);
        blocks[0].entities = std::move(first);
        blocks[1].entities = std::move(second);
        ASSERT_TRUE(visibility.TakeCache(L"Misc\\World.DCV", 1, Box({0, 0, 0}, {20, 50, 10}), std::move(blocks)));
    }
    static std::vector<MessageReceiver*> Receivers(std::initializer_list<MessageReceiver*> list) { return list; }
    // The always-drawn entities: the game module's own, then these.
    std::vector<MessageReceiver*> AlwaysDrawn(std::initializer_list<MessageReceiver*> list) const
    {
        std::vector<MessageReceiver*> all = gamesOwn;
        all.insert(all.end(), list);
        return all;
    }

    Camera CameraAt(Vec3 position)
    {
        Camera camera;
        camera.SetPosition(position);
        return camera;
    }

    VisibilityManager& visibility;
    std::vector<MessageReceiver*> gamesOwn;   // its effects, drawn in every pass
    std::vector<Drawable*> owned;
};

} // namespace

TEST(VisibilityGrid, TheShorterSideGetsTheSplitCount)
{
    struct Case {
        Vec3 half;
        int32_t split;
        int32_t blocksX;
        int32_t blocksZ;
    };
    for (const Case& c : std::initializer_list<Case>{{{1000, 50, 500}, 80, 160, 80},
                                                     {{1000, 50, 750}, 80, 106, 80},
                                                     {{500, 50, 1000}, 80, 80, 160},
                                                     {{10, 1, 10}, 1, 1, 1}}) {
        SplitCount split(c.split);
        VisibilityManager visibility;
        const Vec3 centre{100, 7, -40};
        ASSERT_TRUE(visibility.Build(Box(centre, c.half)));
        EXPECT_EQ(visibility.GetBlocksX(), c.blocksX);
        EXPECT_EQ(visibility.GetBlocksZ(), c.blocksZ);
        ASSERT_EQ(visibility.GetBlocks().size(), static_cast<size_t>(c.blocksX * c.blocksZ));
        // Block (i, j) sits at index i x nz + j; every block is a column from -5 to 155.
        const float ex = c.half.x / c.blocksX;
        const float ez = c.half.z / c.blocksZ;
        const BoundingBox& last = visibility.GetBlocks().back().box;
        const BoundingBox& second = visibility.GetBlocks()[c.blocksZ > 1 ? 1 : 0].box;
        EXPECT_FLOAT_EQ(last.centre.x, centre.x + c.half.x - ex);
        EXPECT_FLOAT_EQ(last.centre.z, centre.z + c.half.z - ez);
        EXPECT_FLOAT_EQ(second.centre.x, centre.x - c.half.x + ex);
        EXPECT_FLOAT_EQ(second.centre.z, centre.z - c.half.z + (c.blocksZ > 1 ? 3 : 1) * ez);
        EXPECT_FLOAT_EQ(last.centre.y, 75.0f);
        EXPECT_FLOAT_EQ(last.halfExtents.x, ex);
        EXPECT_FLOAT_EQ(last.halfExtents.y, 80.0f);
        EXPECT_FLOAT_EQ(last.halfExtents.z, ez);
    }
    SplitCount split(80);
    VisibilityManager visibility;
    visibility.Build(Box({0, 0, 0}, {1000, 50, 500}));
    EXPECT_FLOAT_EQ(visibility.GetBlocks()[0].box.halfExtents.x, 6.25f);
    EXPECT_FLOAT_EQ(visibility.GetBlocks()[0].box.halfExtents.z, 6.25f);
}

TEST(VisibilityGrid, AWorldWithoutFloorOrASplitCountBelowOneIsRefused)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        Vec3 half;
        int32_t split;
    };
    for (const Case& c : std::initializer_list<Case>{{{0, 50, 500}, 80},
                                                     {{1000, 50, 0}, 80},
                                                     {{0, 0, 0}, 80},
                                                     {{-10, 50, 10}, 80},
                                                     {{nan, 50, 10}, 80},
                                                     {{1000, 50, 500}, 0},
                                                     {{1000, 50, 500}, -4},
                                                     {{1e6f, 50, 1}, 80}}) {
        VisibilityManager visibility;
        {
            SplitCount split(2);
            ASSERT_TRUE(visibility.Build(Box({0, 0, 0}, {10, 10, 10})));
        }
        SplitCount split(c.split);
        ScopedCapture log;
        EXPECT_FALSE(visibility.Build(Box({0, 0, 0}, c.half)));
        EXPECT_EQ(log->Count(L"Visibility grid refused"), 1);
        // The grid it had stays, and queries go on as before.
        EXPECT_EQ(visibility.GetBlocks().size(), 4u);
        EXPECT_EQ(visibility.GetSplitCount(), 2);
        EXPECT_EQ(visibility.FindBlock({5, 0, 5}), 3);
    }
}

TEST(VisibilityGrid, TheCameraBlockIsFoundOnTheFloorPlanAlone)
{
    SplitCount split(80);
    VisibilityManager visibility;
    ASSERT_TRUE(visibility.Build(Box({0, 0, 0}, {1000, 50, 500})));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        Vec3 position;
        int32_t block;
    };
    for (const Case& c : std::initializer_list<Case>{{{-1000, 0, -500}, 0},
                                                     {{-1000, 9999, -500}, 0},
                                                     {{-1000 + 12.5f * 3 + 1, -300, -500 + 12.5f * 2 + 1}, 3 * 80 + 2},
                                                     {{999, 0, 499}, 160 * 80 - 1},
                                                     {{1000, 0, 0}, -1},
                                                     {{0, 0, 500}, -1},
                                                     {{-1000.5f, 0, 0}, -1},
                                                     {{0, 0, -500.5f}, -1},
                                                     {{nan, 0, 0}, -1}}) {
        EXPECT_EQ(visibility.FindBlock(c.position), c.block) << c.position.x << ", " << c.position.z;
    }
    EXPECT_EQ(VisibilityManager().FindBlock({0, 0, 0}), -1);
}

TEST(VisibilityCache, AGridWhoseBlockCountDiffersFromItsSizeIsRefused)
{
    SplitCount split(2);
    VisibilityManager visibility;
    ASSERT_TRUE(visibility.Build(Box({0, 0, 0}, {10, 10, 10})));
    const BoundingBox wide = Box({0, 0, 0}, {1000, 50, 500});
    struct Case {
        int32_t split;
        size_t blocks;
        bool taken;
    };
    for (const Case& c : std::initializer_list<Case>{{80, 160 * 80, true},
                                                     {80, 10, false},
                                                     {80, 160 * 80 + 1, false},
                                                     {40, 160 * 80, false},
                                                     {0, 0, false}}) {
        ScopedCapture log;
        EXPECT_EQ(visibility.TakeCache(L"Misc\\World.DCV", c.split, wide, std::vector<VisibilityBlock>(c.blocks)),
                  c.taken);
        EXPECT_EQ(log->Count(L"Misc\\World.DCV"), c.taken ? 0 : 1);
        if (!c.taken) {
            EXPECT_EQ(visibility.GetBlocks().size(), 4u);
            EXPECT_EQ(visibility.GetSplitCount(), 2);
        } else {
            EXPECT_EQ(visibility.GetBlocks().size(), c.blocks);
            EXPECT_EQ(visibility.GetSplitCount(), 80);
            EXPECT_FLOAT_EQ(visibility.GetWorldBox().halfExtents.x, 1000.0f);
            // Back to the small grid for the next case.
            ASSERT_TRUE(visibility.TakeCache(L"small", 2, Box({0, 0, 0}, {10, 10, 10}), std::vector<VisibilityBlock>(4)));
        }
    }
}

TEST_F(VisibilityTest, TheSceneSortsItsMembersByWhatTheyAnswer)
{
    Drawable* worldObject = Join(WorldObject());
    Drawable* mover = Join(new Drawable({kVisTest, kRender}));
    Drawable* spark = Spark();
    Drawable* silent = Join(new Drawable({dcUpdate::Identity().Id()}));
    const auto has = [](const std::vector<MessageReceiver*>& list, MessageReceiver* entity) {
        return std::find(list.begin(), list.end(), entity) != list.end();
    };
    for (Drawable* entity : {worldObject, mover, spark, silent}) {
        EXPECT_EQ(has(visibility.GetMovingEntities(), entity), entity == mover);
        EXPECT_EQ(has(visibility.GetUnconditionalEntities(), entity), entity == spark);
        EXPECT_FALSE(has(visibility.GetRegisteredEntities(), entity));
    }
}

TEST_F(VisibilityTest, AQueryKeepsTheSeenEntitiesOfTheBlockThenTheMovingThenTheRegistered)
{
    Drawable* inBlock = Join(WorldObject());
    Drawable* hidden = Join(WorldObject(0));
    Drawable* otherBlock = Join(WorldObject());
    Drawable* drawsItself = Join(new Drawable({kOcclusionData, kVisTest}, 1, true));
    Drawable* registered = Join(WorldObject());
    Drawable* mover = Join(new Drawable({kVisTest, kRender}));
    visibility.AddEntity(registered);
    TakeTwoBlocks(Receivers({otherBlock}), Receivers({hidden, nullptr, drawsItself, inBlock}));

    const Camera camera = CameraAt({10, 500, 0});
    visibility.Query(camera, 1, 31);
    EXPECT_EQ(visibility.GetVisibleEntities(), Receivers({inBlock, mover, registered}));
    EXPECT_EQ(otherBlock->Count<dcVisTest>(), 0);
    EXPECT_EQ(drawsItself->Count<dcVisTest>(), 1);
    const dcVisTest asked = inBlock->Last<dcVisTest>();
    EXPECT_EQ(asked.camera, &camera);
    EXPECT_EQ(asked.firstPass, 1);
    EXPECT_EQ(asked.passCount, 31);

    // Outside the grid only the moving and registered entities can be seen.
    visibility.Query(CameraAt({20, 0, 0}), 1, 31);
    EXPECT_EQ(visibility.GetVisibleEntities(), Receivers({mover, registered}));
    EXPECT_EQ(visibility.GetIdBase(), registered->GetId());
}

TEST_F(VisibilityTest, EveryPassReachesTheVisibleThenTheAlwaysDrawnWithItsOwnBit)
{
    Drawable* seen = Join(new Drawable({kVisTest, kRender}));
    Drawable* spark = Spark();
    Join(new Drawable({kVisTest, kRender}, 0));
    const Camera camera = CameraAt({0, 0, 0});
    visibility.Query(camera, 1, 31);
    for (int32_t pass = 1; pass <= 31; ++pass) {
        visibility.Render(camera, pass, 1);
    }
    for (Drawable* entity : {seen, spark}) {
        ASSERT_EQ(entity->Count<dcRender>(), 31);
        int32_t pass = 1;
        for (const RecordingEntity::Delivery& delivery : entity->deliveries) {
            if (delivery.identity != kRender) {
                continue;
            }
            dcRender render{};
            std::copy(delivery.payload.begin(), delivery.payload.end(), reinterpret_cast<uint8_t*>(&render));
            EXPECT_EQ(render.pass, pass);
            EXPECT_EQ(render.passBit, 1 << pass);
            EXPECT_EQ(render.camera, &camera);
            ++pass;
        }
    }
    EXPECT_EQ(owned[2]->Count<dcRender>(), 0);
}

// Sparks and shells leave the scene as they draw their last frame.
TEST_F(VisibilityTest, EntitiesLeavingTheSceneWhileDrawingNeverBreakTheWalk)
{
    Drawable* first = Spark();
    Drawable* second = Spark();
    Drawable* third = Spark();
    Drawable* fourth = Spark();
    Drawable* seenShell = Join(new Drawable({kVisTest, kRender}));
    first->onRender = [&] {
        if (second->GetScene()) {
            Game().GetScene().Remove(second);
        }
    };
    third->onRender = [&] { Game().GetScene().Remove(third); };
    seenShell->onRender = [&] { Game().GetScene().Remove(seenShell); };
    Drawable* late = nullptr;
    fourth->onRender = [&] {
        if (!late) {
            late = Spark();
        }
    };
    const Camera camera = CameraAt({0, 0, 0});
    visibility.Query(camera, 1, 31);
    visibility.Render(camera, 1, 3);
    EXPECT_EQ(first->Count<dcRender>(), 3);
    EXPECT_EQ(second->Count<dcRender>(), 0);
    EXPECT_EQ(third->Count<dcRender>(), 1);
    EXPECT_EQ(fourth->Count<dcRender>(), 3);
    EXPECT_EQ(seenShell->Count<dcRender>(), 1);
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(late->Count<dcRender>(), 3);
    EXPECT_EQ(visibility.GetUnconditionalEntities(), AlwaysDrawn({first, fourth, late}));
    EXPECT_TRUE(visibility.GetVisibleEntities().empty());
}

TEST_F(VisibilityTest, AnEntityDeletedWhileDrawingLivesUntilThePassesAreDone)
{
    Drawable* doomed = Spark();
    Drawable* after = Spark();
    bool afterSawDoomedAlive = false;
    doomed->onRender = [&] {
        owned.erase(std::find(owned.begin(), owned.end(), doomed));
        Game().GetScene().Delete(doomed);
    };
    after->onRender = [&] { afterSawDoomedAlive = doomed->Count<dcRender>() == 1; };
    const Camera camera = CameraAt({0, 0, 0});
    visibility.Render(camera, 1, 2);
    EXPECT_TRUE(afterSawDoomedAlive);
    EXPECT_EQ(after->Count<dcRender>(), 2);
    EXPECT_EQ(visibility.GetUnconditionalEntities(), AlwaysDrawn({after}));
}

TEST_F(VisibilityTest, LeavingEntitiesArePurgedFromTheGridAndEveryList)
{
    enum class Leaving { kRemoved, kDestroyed };
    for (Leaving how : {Leaving::kRemoved, Leaving::kDestroyed}) {
        Drawable* inBlock = Join(WorldObject());
        Drawable* registered = Join(WorldObject());
        Drawable* moving = Join(WorldObject());
        Drawable* stays = Join(WorldObject());
        visibility.AddEntity(registered);
        visibility.AddMovingEntity(moving);
        TakeTwoBlocks(Receivers({inBlock, stays}), Receivers({inBlock}));
        visibility.Query(CameraAt({-10, 0, 0}), 1, 31);
        ASSERT_EQ(visibility.GetVisibleEntities(), Receivers({inBlock, stays, moving, registered}));

        for (Drawable* entity : {inBlock, registered, moving}) {
            owned.erase(std::find(owned.begin(), owned.end(), entity));
            if (how == Leaving::kRemoved) {
                Game().GetScene().Remove(entity);
            }
            delete entity;   // destroyed while still a member when not removed first
        }
        EXPECT_EQ(visibility.GetBlocks()[0].entities, Receivers({nullptr, stays}));
        EXPECT_EQ(visibility.GetBlocks()[1].entities, Receivers({nullptr}));
        EXPECT_TRUE(visibility.GetRegisteredEntities().empty());
        EXPECT_TRUE(visibility.GetMovingEntities().empty());
        EXPECT_EQ(visibility.GetVisibleEntities(), Receivers({stays}));
        visibility.Query(CameraAt({-10, 0, 0}), 1, 31);
        EXPECT_EQ(visibility.GetVisibleEntities(), Receivers({stays}));
    }
}

TEST_F(VisibilityTest, InTestModeTheFirstGridBringsTheSettingsCommands)
{
    SplitCount split(80);
    const bool wasTestMode = testMode;
    testMode = false;
    ASSERT_TRUE(visibility.Build(Box({0, 0, 0}, {1000, 50, 500})));
    EXPECT_FALSE(Game().HasCommand(L"SPLITCOUNT"));

    testMode = true;
    ASSERT_TRUE(visibility.Build(Box({0, 0, 0}, {1000, 50, 500})));
    testMode = wasTestMode;
    for (const wchar_t* name : {L"SPLITCOUNT", L"VIEWDISTANCE", L"", L"OFFSETSCALE"}) {
        EXPECT_TRUE(Game().HasCommand(name)) << WideStringToNarrow(name);
    }
    const VisibilitySettings kept = TheVisibilitySettings();
    Game().RunCommand(L"SPLITCOUNT", L"40");
    Game().RunCommand(L"VIEWDISTANCE", L" 2500.5");
    Game().RunCommand(L"", L"90");
    Game().RunCommand(L"OFFSETSCALE", L"half");
    EXPECT_EQ(TheVisibilitySettings().splitCount, 40);
    EXPECT_FLOAT_EQ(TheVisibilitySettings().viewDistance, 2500.5f);
    EXPECT_FLOAT_EQ(TheVisibilitySettings().compileFov, 90.0f);
    EXPECT_FLOAT_EQ(TheVisibilitySettings().offsetScale, 0.0f);
    ASSERT_TRUE(visibility.Build(Box({0, 0, 0}, {1000, 50, 500})));
    EXPECT_EQ(visibility.GetBlocksZ(), 40);
    TheVisibilitySettings() = kept;
}
