// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "engine/net/ClientScene.h"
#include "game/vehicles/dcScriptGame.h"

namespace {

constexpr int32_t kTriggerMessage = HashClassName("dcTriggerMessage");
constexpr int32_t kTriggerDestroy = HashClassName("dcTriggerDestroy");

// What the script reader was asked for, and the roots it makes: two
// recording nodes in the scene.
struct ReaderLog {
    std::vector<WideString> paths;
    RecordingEntity roots[2];
};
ReaderLog* readerLog = nullptr;

void ReadTwoRoots(const WideString& path, Scene& scene, std::vector<int32_t>& rootIds)
{
    readerLog->paths.push_back(path);
    for (RecordingEntity& root : readerLog->roots) {
        scene.Add(&root);
        rootIds.push_back(root.GetId());
    }
}

class dcScriptGameTest : public GameTest {
protected:
    dcScriptGameTest()
    {
        readerLog = &log;
        dcScriptGame::SetScriptReader(ReadTwoRoots);
        WriteFile("Scripts\\Mission.dcScript", "DC2");
        mode = new dcScriptGame(L"Scripts\\Mission.dcScript");
        Game().SetGameMode(mode);
        Game().GetScene().Add(mode);
        Game().GetScene().Add(&bystander);
    }
    ~dcScriptGameTest() override
    {
        for (RecordingEntity* entity : {&log.roots[0], &log.roots[1], &bystander}) {
            if (entity->GetScene()) {
                entity->GetScene()->Remove(entity);
            }
        }
        dcScriptGame::SetScriptReader(nullptr);
        readerLog = nullptr;
    }

    ReaderLog log;
    RecordingEntity bystander;
    dcScriptGame* mode = nullptr;   // the scene's
};

} // namespace

TEST_F(dcScriptGameTest, StartingLoadsTheScriptAndFiringReachesEveryRoot)
{
    mode->Start();
    EXPECT_TRUE(mode->IsStarted());
    EXPECT_EQ(log.paths, std::vector<WideString>{L"Scripts\\Mission.dcScript"});
    // The scene was reset for the mission first.
    EXPECT_EQ(bystander.Last<dcGameReset>().reason, dcGameReset::kRestart);
    EXPECT_EQ(bystander.CountIdentity(kTriggerDestroy), 1);

    EXPECT_TRUE(mode->FireRoots());
    for (RecordingEntity& root : log.roots) {
        ASSERT_EQ(root.CountIdentity(kTriggerMessage), 1);
        const std::vector<uint8_t> noSender(4, 0);
        EXPECT_EQ(root.deliveries.back().payload, noSender);
    }
    EXPECT_EQ(bystander.CountIdentity(kTriggerMessage), 0);
}

TEST_F(dcScriptGameTest, AMissingScriptResetsTheMissionAndLoadsNothing)
{
    mode->Start();
    mode->LoadScript(L"Scripts\\Missing.dcScript");
    EXPECT_EQ(log.paths.size(), 1u);
    EXPECT_EQ(bystander.CountIdentity(kTriggerDestroy), 2);
    // The old roots are kept; the one the scene no longer holds is skipped.
    EXPECT_EQ(mode->GetRootIds().size(), 2u);
    Game().GetScene().Remove(&log.roots[0]);
    mode->FireRoots();
    EXPECT_EQ(log.roots[0].CountIdentity(kTriggerMessage), 0);
    EXPECT_EQ(log.roots[1].CountIdentity(kTriggerMessage), 1);
}

TEST_F(dcScriptGameTest, WithoutAReaderAMissionHasNoNodes)
{
    dcScriptGame::SetScriptReader(nullptr);
    mode->Start();
    EXPECT_TRUE(mode->GetRootIds().empty());
    EXPECT_EQ(bystander.CountIdentity(kTriggerDestroy), 1);
}

TEST_F(dcScriptGameTest, ANetworkClientFiresNothing)
{
    mode->Start();
    ClientScene router;
    Game().SetNetworkLinks(nullptr, nullptr, nullptr, &router);
    EXPECT_FALSE(mode->FireRoots());
    Game().SetNetworkLinks(nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(log.roots[0].CountIdentity(kTriggerMessage), 0);
}

TEST_F(dcScriptGameTest, TheEndOfTheGameReleasesTheMode)
{
    const int32_t id = mode->GetId();
    // The mode and the bystander, with the game's decal renderer and four particle emitters.
    EXPECT_EQ(Game().BroadcastGameReset(), 7);
    EXPECT_EQ(Game().GetScene().FindReceiver(id), nullptr);
    EXPECT_EQ(Game().GetGameMode(), nullptr);
    EXPECT_EQ(bystander.Last<dcGameReset>().reason, dcGameReset::kEndOfGame);
}
