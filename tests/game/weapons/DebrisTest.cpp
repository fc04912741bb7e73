// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "engine/core/FrameMessages.h"
#include "game/weapons/dcRockDebris.h"
#include "render/models/Model.h"

#include <memory>
#include <utility>

namespace {

class DebrisTest : public GameTest {
protected:
    DebrisTest()
    {
        Game();
        dcRockDebris loadsTheModels;
        if (dcRockDebris::Models().empty()) {
            dcRockDebris::Models().push_back(std::make_unique<Model>(L"Models\\DebrisTest.DCM", WideString()));
        }
    }

    // The burst the spawn threw: the newest debris in the game's scene.
    dcRockDebris* Spawn(int32_t minimum, int32_t maximum)
    {
        const int32_t next = Game().GetScene().GetNextId();
        dcRockDebris::Spawn({10, 20, 30}, 7.0f, minimum, maximum, 100.0f, false, WideString());
        return dynamic_cast<dcRockDebris*>(Game().GetScene().FindReceiver(next));
    }
};

} // namespace

TEST_F(DebrisTest, ABurstFliesUpAndOutAtTheSpeedFromTheSpawnPoint)
{
    for (int32_t run = 0; run < 20; ++run) {
        dcRockDebris* debris = Spawn(12, 23);
        ASSERT_NE(debris, nullptr);
        const auto count = static_cast<int32_t>(debris->GetPieces().size());
        EXPECT_GE(count, 12);
        EXPECT_LE(count, 23);
        EXPECT_EQ(debris->GetLife(), 7.0f);
        for (const DebrisPiece& piece : debris->GetPieces()) {
            EXPECT_NEAR(piece.velocity.Length(), 100.0f, 1e-3f);
            EXPECT_GT(piece.velocity.y, 0.0f);
            EXPECT_EQ(piece.position.y, 20.0f);
            EXPECT_NEAR(piece.spin.Length(), 1.0f, 1e-4f);
            EXPECT_EQ(piece.modelIndex, 0);
        }
        debris->Release();
    }
}

TEST_F(DebrisTest, PiecesFallByAQuarterOfGravityAndTheBurstGoesWhenItsLifeIsOver)
{
    dcRockDebris* debris = Spawn(12, 12);
    ASSERT_NE(debris, nullptr);
    const DebrisPiece before = debris->GetPieces().front();
    const float gravity = Game().GetWorld().GetPhysics().GetGravity().y;
    Game().GetUpdateChannel().Broadcast(dcUpdate{0.5f});
    const DebrisPiece& after = debris->GetPieces().front();
    EXPECT_NEAR(after.velocity.y, before.velocity.y + gravity * 0.25f * 0.5f, 1e-3f);
    EXPECT_NEAR(after.position.y, before.position.y + after.velocity.y * 0.5f, 1e-3f);
    EXPECT_NEAR(after.orientation.w * after.orientation.w + after.orientation.x * after.orientation.x +
                    after.orientation.y * after.orientation.y + after.orientation.z * after.orientation.z,
                1.0f, 1e-4f);
    const int32_t free = dcRockDebris::FreeCount();
    for (int32_t step = 0; step < 12; ++step) {
        Game().GetUpdateChannel().Broadcast(dcUpdate{0.5f});
    }
    EXPECT_EQ(debris->GetScene(), &Game().GetScene());
    Game().GetUpdateChannel().Broadcast(dcUpdate{0.5f});   // 7 s
    EXPECT_EQ(debris->GetScene(), nullptr);
    EXPECT_EQ(dcRockDebris::FreeCount(), free + 1);
}

TEST_F(DebrisTest, WithoutADebrisModelASpawnLeavesTheObjectInItsPool)
{
    Spawn(12, 23)->Release();   // at least one object waits in the pool
    std::vector<std::unique_ptr<Model>> models = std::move(dcRockDebris::Models());
    dcRockDebris::Models().clear();
    const int32_t free = dcRockDebris::FreeCount();
    const int32_t members = Game().GetScene().Count();
    EXPECT_EQ(Spawn(12, 23), nullptr);
    EXPECT_EQ(Game().GetScene().Count(), members);
    EXPECT_EQ(dcRockDebris::FreeCount(), free);
    dcRockDebris::Models() = std::move(models);
}

TEST_F(DebrisTest, AGameResetReturnsEveryBurst)
{
    const int32_t free = dcRockDebris::FreeCount();
    Spawn(12, 23);
    Spawn(12, 23);
    EXPECT_EQ(dcRockDebris::FreeCount(), std::max(0, free - 2));
    Game().BroadcastGameReset();
    EXPECT_EQ(dcRockDebris::FreeCount(), std::max(free, 2));
}
