// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "engine/net/ClientScene.h"
#include "frontend/LoadScriptCommand.h"
#include "frontend/dcLoadScreen.h"
#include "game/vehicles/dcScriptGame.h"
#include "game/weapons/DecalRing.h"

#include <cstddef>

namespace {

constexpr float kFrame = 0.125f;   // exact in binary, so two seconds are exactly 16 frames

class dcLoadScreenTest : public GameTest {
protected:
    dcLoadScreenTest()
    {
        std::filesystem::copy(FixturePath(L"worlds").c_str(), std::filesystem::current_path(),
                              std::filesystem::copy_options::recursive);
        // As the engine's start turns it on: modules come off the stack once
        // the one above them has faded in.
        engine.GetModules().EnableStacking();
        Game();
    }

    // A loading screen pushed as the game's creators push it, for a frame pass of the engine.
    dcLoadScreen* Push(const WideString& script, const WideString& world)
    {
        PushLoadScreen(script, world);
        auto* screen = static_cast<dcLoadScreen*>(engine.GetCurrentMLP());
        engine.GetModules().BeginPass();
        return screen;
    }

    // Frames until the game module is pushed: the progress shown after each.
    std::vector<float> LoadUntilTheGame(dcLoadScreen* screen)
    {
        std::vector<float> progress;
        while (engine.GetCurrentMLP() == screen && progress.size() < 200) {
            screen->Run(kFrame);
            progress.push_back(screen->GetProgress());
        }
        return progress;
    }
};

} // namespace

TEST_F(dcLoadScreenTest, TheBarRisesThroughPreparationWorldAndFinishingThenTheGameStarts)
{
    const int32_t lastGamesDecal = TheDecalRing().NextSerial();
    TheDecalRing().Add(nullptr);
    dcLoadScreen* screen = Push(L"Scripts\\Autoload.dcScript", L"Maps\\Small.DCW");
    // Pushed screens fade in before they prepare anything.
    screen->Run(kFrame);
    EXPECT_EQ(screen->GetStepCount(), 0);
    EXPECT_EQ(screen->GetProgress(), 0.0f);
    screen->SetFade(1.0f);

    const std::vector<float> progress = LoadUntilTheGame(screen);
    // The small world's stages take 21 calls: header 1, collision 5, paths 4,
    // render geometry 2, materials, meshes, static and dynamic objects 2
    // each, markers 1.
    constexpr size_t kWorldCalls = 21;
    ASSERT_EQ(progress.size(), 10u + kWorldCalls + 1u + 10u + 16u);
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_NEAR(progress[i], 0.01f * (i + 1), 1e-6f) << i;
    }
    EXPECT_NEAR(progress[10], 0.1f + 0.8f / 9.0f, 1e-6f);   // the header
    for (size_t i = 11; i < 10 + kWorldCalls; ++i) {
        EXPECT_GE(progress[i], progress[i - 1]) << i;
    }
    EXPECT_NEAR(progress[10 + kWorldCalls], 0.9f, 1e-6f);   // the step that finds the world loaded
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_NEAR(progress[11 + kWorldCalls + i], 0.91f + 0.01f * i, 1e-6f) << i;
    }
    // From the full bar, the music fades for exactly two seconds of frame time.
    for (size_t i = 21 + kWorldCalls; i < progress.size(); ++i) {
        EXPECT_EQ(progress[i], 1.0f) << i;
    }
    EXPECT_EQ(engine.GetCurrentMLP(), &Game());
    EXPECT_EQ(screen->GetMusicFade(), 1.0f);
    EXPECT_EQ(Game().GetWorld().GetFileName(), L"Maps\\Small.DCW");
    EXPECT_TRUE(Game().IsLoaded());
    EXPECT_NE(Game().GetWorld().GetSky(), nullptr);
    auto* mode = dynamic_cast<dcScriptGame*>(Game().GetGameMode());
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->GetScriptPath(), L"Scripts\\Autoload.dcScript");
    EXPECT_EQ(Game().GetScene().FindReceiver(mode->GetId()), mode);
    EXPECT_TRUE(mode->IsStarted());
    // The last game's decals are gone from the new one.
    EXPECT_EQ(TheDecalRing().Find(lastGamesDecal), nullptr);

    // Once the game has come in, the screen leaves the stack and goes.
    engine.GetModules().RunModuleSteps();
    for (MLP* stacked : engine.GetModules().Entries()) {
        EXPECT_NE(stacked, static_cast<MLP*>(screen));
    }
}

TEST_F(dcLoadScreenTest, AnotherMissionEndsTheLastOneAndFindsTheWorldLoaded)
{
    LoadUntilTheGame([&] {
        dcLoadScreen* first = Push(L"Scripts\\First.dcScript", L"Maps\\Test.DCW");
        first->SetFade(1.0f);
        return first;
    }());
    engine.GetModules().RunModuleSteps();
    dcGame* firstMode = Game().GetGameMode();
    ASSERT_NE(firstMode, nullptr);
    const int32_t firstId = firstMode->GetId();

    dcLoadScreen* second = Push(L"Scripts\\Second.dcScript", L"Maps\\Test.DCW");
    second->SetFade(1.0f);
    const std::vector<float> progress = LoadUntilTheGame(second);
    EXPECT_EQ(Game().GetScene().FindReceiver(firstId), nullptr);
    // The world stage is one frame: the world is loaded once per run.
    ASSERT_EQ(progress.size(), 10u + 1u + 10u + 16u);
    EXPECT_NEAR(progress[10], 0.9f, 1e-6f);
    auto* mode = dynamic_cast<dcScriptGame*>(Game().GetGameMode());
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->GetScriptPath(), L"Scripts\\Second.dcScript");
    engine.GetModules().RunModuleSteps();
}

TEST_F(dcLoadScreenTest, ARefusedWorldNeverStartsTheGame)
{
    dcLoadScreen* screen = Push(L"Scripts\\Autoload.dcScript", L"Maps\\Nine.DCW");
    screen->SetFade(1.0f);
    const std::vector<float> progress = LoadUntilTheGame(screen);
    EXPECT_TRUE(Game().GetWorld().HasFailed());
    EXPECT_FALSE(screen->IsStarted());
    EXPECT_EQ(screen->GetFinishCount(), 0);
    EXPECT_NE(engine.GetCurrentMLP(), &Game());
}

TEST_F(dcLoadScreenTest, ANetworkClientsOwnEntitiesGetPositiveIdsAboveTheHosts)
{
    dcLoadScreen* screen = Push(L"Scripts\\Autoload.dcScript", L"Maps\\Test.DCW");
    ClientScene router;
    Game().SetNetworkLinks(nullptr, nullptr, nullptr, &router);
    screen->SetFade(1.0f);
    LoadUntilTheGame(screen);
    engine.GetModules().RunModuleSteps();
    EXPECT_EQ(router.GetNextId(), kClientLocalIdBase);
    const int32_t own = router.NewId();
    EXPECT_GT(own, 0);
    EXPECT_GT(router.NewId(), own);
    EXPECT_LT(Game().GetScene().GetNextId(), kClientLocalIdBase);
    Game().SetNetworkLinks(nullptr, nullptr, nullptr, nullptr);
}

TEST_F(dcLoadScreenTest, TheHostsStartMessageSetsTheClientsNextId)
{
    dcLoadScreen screen(L"Scripts\\Autoload.dcScript", L"Maps\\Test.DCW");
    ClientScene router;
    Game().SetNetworkLinks(nullptr, nullptr, nullptr, &router);
    EXPECT_EQ(screen.Send(dcStartMessage{77}), 1);
    EXPECT_EQ(router.GetNextId(), 77);
    Game().SetNetworkLinks(nullptr, nullptr, nullptr, nullptr);
}

TEST_F(dcLoadScreenTest, TheBackgroundIsOneOfTheLoadingPictures)
{
    struct Case {
        std::vector<std::string> files;
        std::vector<WideString> choices;
    };
    for (const Case& c : std::initializer_list<Case>{
             {{}, {L"Loading.DCT"}},
             {{"Menu\\Loading12.DCT", "Menu\\Loading.DCT"}, {L"Loading.DCT"}},
             {{"Menu\\Loading1.DCT", "Menu\\Loading2.DCT"}, {L"Loading1.DCT", L"Loading2.DCT"}}}) {
        for (const std::string& file : c.files) {
            WriteFile(file, "DCT");
        }
        for (int32_t tries = 0; tries < 4; ++tries) {
            dcLoadScreen screen(L"", L"Maps\\World.DCW");
            EXPECT_NE(std::find(c.choices.begin(), c.choices.end(), screen.GetBackgroundName()), c.choices.end())
                << WideStringToNarrow(screen.GetBackgroundName());
        }
        std::filesystem::remove_all("Menu");
    }
}

TEST_F(dcLoadScreenTest, LoadScriptLoadsTheNamedMissionOnTheDefaultWorld)
{
    LoadScriptCommand command;
    command.Execute(L"ABC");
    auto* screen = dynamic_cast<dcLoadScreen*>(engine.GetCurrentMLP());
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->GetScriptName(), L"Scripts\\ABC.dcScript");
    EXPECT_EQ(screen->GetWorldName(), L"Maps\\World.DCW");
    engine.SetMLP(&Game(), false);
    delete screen;
}

TEST(LoadScreenMessages, TheirLayoutsAreFixedForTheNetwork)
{
    EXPECT_EQ(sizeof(dcLoadingMessage), 8u);
    EXPECT_EQ(offsetof(dcLoadingMessage, progress), 4u);
    EXPECT_EQ(sizeof(dcStartMessage), 4u);
    EXPECT_FALSE(IsLocalOnlyMessage(dcLoadingMessage::Identity().Id()));
    EXPECT_FALSE(IsLocalOnlyMessage(dcStartMessage::Identity().Id()));
}
