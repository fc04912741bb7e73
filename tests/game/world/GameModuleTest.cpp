// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "engine/core/FrameMessages.h"
#include "engine/core/ProgramState.h"
#include "engine/input/InputCodes.h"
#include "engine/net/ClientScene.h"
#include "game/world/GameMessages.h"

#include <vector>

namespace {

constexpr float kStep = 1.0f / 75.0f;

std::vector<bool> menuOpenings;   // resumable, per opening

void RecordMenuOpening(bool resumable)
{
    menuOpenings.push_back(resumable);
}

class GameModuleTest : public GameTest {
protected:
    GameModuleTest()
    {
        menuOpenings.clear();
        Game().SetFrontEndLinks({nullptr, nullptr, RecordMenuOpening});
        Game().GetScene().Add(&entity);
    }
    ~GameModuleTest() override { Game().GetScene().Remove(&entity); }

    // The order of the per-step messages the entity received.
    std::vector<int32_t> StepMessages() const
    {
        std::vector<int32_t> order;
        for (const RecordingEntity::Delivery& delivery : entity.deliveries) {
            if (delivery.identity != dcRender::Identity().Id()) {
                order.push_back(delivery.identity);
            }
        }
        return order;
    }
    // A key pressed and released within the next frame's first input step.
    void Press(int32_t key) { Keys({{key, true}, {key, false}}); }

    RecordingEntity entity;
};

const int32_t kInput = dcUserInput::Identity().Id();
const int32_t kUpdate = dcUpdate::Identity().Id();
const int32_t kFinal = dcFinalUpdate::Identity().Id();

} // namespace

TEST_F(GameModuleTest, EachStepRunsInputThenUpdateThenFinalUpdate)
{
    entity.deliveries.clear();
    Game().Simulate(0.02f);
    EXPECT_EQ(StepMessages(), (std::vector<int32_t>{kInput, kUpdate, kFinal, kInput, kUpdate, kFinal}));
    EXPECT_FLOAT_EQ(entity.Last<dcUpdate>().step, kStep);
    EXPECT_FLOAT_EQ(entity.Last<dcFinalUpdate>().step, kStep);
    // The input step reports the physics step that ran before it.
    EXPECT_FLOAT_EQ(entity.Last<dcUserInput>().lastPhysicsStep, kStep);

    entity.deliveries.clear();
    Game().Simulate(0.02f);
    EXPECT_EQ(StepMessages(), (std::vector<int32_t>{kInput, kUpdate, kFinal}));
}

TEST_F(GameModuleTest, TheTimeScaleStretchesTheFrameBeforeItIsStepped)
{
    Game().SetTimeScale(0.5f);
    entity.deliveries.clear();
    Game().Simulate(0.04f);
    EXPECT_EQ(entity.Count<dcUpdate>(), 2);
}

TEST_F(GameModuleTest, InTestModeTSwitchesTheVisibilityGridView)
{
    const bool wasTestMode = testMode;
    struct Case {
        bool test;
        bool shown;
    };
    for (const Case& c : std::initializer_list<Case>{{false, false}, {true, true}, {true, false}}) {
        testMode = c.test;
        Press(GameModule::kKeyVisibilityDebug);
        Game().Simulate(0.02f);
        EXPECT_EQ(Game().IsVisibilityDebugOn(), c.shown);
    }
    testMode = wasTestMode;
}

TEST_F(GameModuleTest, PauseDimsOverASecondAndFreezesTheSimulation)
{
    Press(GameModule::kKeyPause);
    std::vector<float> values;
    for (int32_t frame = 0; frame < 5; ++frame) {
        Game().Simulate(0.3f);
        values.push_back(Game().GetPauseValue());
    }
    EXPECT_TRUE(Game().IsPaused());
    const float expected[] = {0.0f, 0.3f, 0.6f, 0.9f, 1.0f};
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_NEAR(values[i], expected[i], 1e-5f) << i;
    }
    // Paused: one input step per frame, no update.
    entity.deliveries.clear();
    Game().Simulate(0.3f);
    EXPECT_EQ(StepMessages(), (std::vector<int32_t>{kInput}));

    // Unpaused in this frame's input step, after the frame eased its value.
    Press(GameModule::kKeyPause);
    Game().Simulate(0.3f);
    EXPECT_FALSE(Game().IsPaused());
    EXPECT_EQ(Game().GetPauseValue(), 1.0f);
    entity.deliveries.clear();
    Game().Simulate(0.3f);
    EXPECT_NEAR(Game().GetPauseValue(), 0.7f, 1e-5f);
    EXPECT_GT(entity.Count<dcUpdate>(), 0);
}

TEST_F(GameModuleTest, EscapeWhilePausedOpensNoMenu)
{
    Press(GameModule::kKeyPause);
    Game().Simulate(0.02f);
    Press(kKeyEscape);
    Game().Simulate(0.02f);
    EXPECT_TRUE(menuOpenings.empty());
}

TEST_F(GameModuleTest, EscapeOpensTheMenuResumableExceptOnANetworkClient)
{
    Press(kKeyEscape);
    Game().Simulate(0.02f);
    ClientScene router;
    Game().SetNetworkLinks(nullptr, nullptr, nullptr, &router);
    Press(kKeyEscape);
    Game().Simulate(0.02f);
    Game().SetNetworkLinks(nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(menuOpenings, (std::vector<bool>{true, false}));
}

TEST_F(GameModuleTest, AHoldUpdatesOnlyItsEntitiesUntilAKeyIsPressed)
{
    RecordingEntity screenImage;
    Game().GetScene().Add(&screenImage);
    Game().Hold({screenImage.GetId(), 12345});
    entity.deliveries.clear();
    for (int32_t frame = 0; frame < 3; ++frame) {
        Game().Simulate(0.25f);
    }
    EXPECT_EQ(StepMessages(), (std::vector<int32_t>{kInput, kInput, kInput}));
    EXPECT_EQ(screenImage.Count<dcUpdate>(), 3);
    EXPECT_FLOAT_EQ(screenImage.Last<dcUpdate>().step, 0.25f);
    EXPECT_FLOAT_EQ(Game().GetHoldValue(), 0.75f);

    Press(57);   // any key
    Game().Simulate(0.25f);
    EXPECT_FALSE(Game().IsHolding());
    entity.deliveries.clear();
    Game().Simulate(0.02f);
    EXPECT_EQ(entity.Count<dcUpdate>(), 2);
    Game().GetScene().Remove(&screenImage);
}

TEST_F(GameModuleTest, AHoldWithoutEntitiesFreezesEverything)
{
    Game().Hold({});
    entity.deliveries.clear();
    Game().Simulate(1.0f);
    EXPECT_EQ(StepMessages(), (std::vector<int32_t>{kInput}));
}

TEST_F(GameModuleTest, RenderPassesReachTheEntitiesInOrder)
{
    RecordingEntity drawn({dcRender::Identity().Id()});
    Game().GetScene().Add(&drawn);
    drawn.deliveries.clear();
    // Without a video device nothing is drawn, and no pass is sent.
    Game().Render();
    EXPECT_EQ(drawn.Count<dcRender>(), 0);
    Camera camera;
    for (int32_t pass = 1; pass <= 31; ++pass) {
        Game().GetWorld().GetVisibility().Render(camera, pass, 1);
    }
    ASSERT_EQ(drawn.Count<dcRender>(), 31);
    int32_t expected = 1;
    for (const RecordingEntity::Delivery& delivery : drawn.deliveries) {
        dcRender render{};
        std::copy(delivery.payload.begin(), delivery.payload.end(), reinterpret_cast<uint8_t*>(&render));
        EXPECT_EQ(render.pass, expected);
        EXPECT_EQ(render.passBit, 1 << expected);
        EXPECT_EQ(render.camera, &camera);
        ++expected;
    }
    Game().GetScene().Remove(&drawn);
}

class GameLanguageTest : public GameTest {};

TEST_F(GameLanguageTest, TheContentSwitchesFollowTheLanguage)
{
    Game();
    EXPECT_TRUE(BloodEnabled);
    EXPECT_TRUE(RagdollEnabled);
    DropGame();

    std::filesystem::copy(FixturePath(L"language").c_str(), std::filesystem::current_path(),
                          std::filesystem::copy_options::recursive);
    engine.GetLanguage().FindLanguageFiles();
    engine.GetLanguage().SelectLanguage(0);
    Game();
    EXPECT_FALSE(BloodEnabled);
    EXPECT_FALSE(RagdollEnabled);
}

TEST_F(GameModuleTest, TheModuleIsTheGameAndPollsItsOwnInput)
{
    EXPECT_EQ(GameModule::Get(), &Game());
    EXPECT_EQ(Game().GetName(), L"Game");
    EXPECT_TRUE(Game().HasFlag(MLP::kPollsInput));
    EXPECT_NE(Game().GetFonts().Get(GameFonts::kTitle32), nullptr);
}

TEST_F(GameModuleTest, EnteringShowsTheGameAtOnceAndLeavingRestartsFrameSmoothing)
{
    engine.GetFrameTimes().SetSampleCount(4);
    Game().Simulate(0.0f);
    EXPECT_EQ(engine.GetFrameTimes().GetSampleCount(), 5);
    Game().Enter();
    EXPECT_GE(Game().GetFade(), 1.0f);
    Game().Leave();
    EXPECT_EQ(engine.GetFrameTimes().GetSampleCount(), 1);
}
