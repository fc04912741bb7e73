// Mission nodes in the running game: what they ask of the game reaches the
// game module.

// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "engine/core/FrameMessages.h"
#include "engine/net/ClientScene.h"
#include "frontend/GameScriptHooks.h"
#include "script/dcStartTrigger.h"

namespace {

class GameScriptHooksTest : public GameTest {
protected:
    GameScriptHooksTest() : hooks(Game())
    {
        SetScriptGameHooks(&hooks);
        Game().GetScene().Add(&target);
    }
    ~GameScriptHooksTest() override
    {
        Game().GetScene().Remove(&target);
        SetScriptGameHooks(nullptr);
    }

    GameScriptHooks hooks;
    RecordingEntity target;
};

} // namespace

TEST_F(GameScriptHooksTest, AStartScreenHoldsTheGameUntilAKeyIsPressed)
{
    auto* start = new dcStartTrigger;
    start->PauseOnStart = 1;
    start->GetTargetIds() = {target.GetId()};
    Game().GetScene().Add(start);
    start->Send(dcTriggerMessage{0});
    EXPECT_EQ(target.Count<dcTriggerMessage>(), 1);
    EXPECT_TRUE(Game().IsHolding());

    target.deliveries.clear();
    Game().Simulate(0.5f);
    EXPECT_EQ(target.Count<dcUpdate>(), 0);
    EXPECT_FLOAT_EQ(hooks.GetHoldValue(), 0.5f);
    Keys({{57, true}, {57, false}});
    Game().Simulate(0.5f);
    EXPECT_FALSE(Game().IsHolding());
    start->Send(dcTriggerDestroy{});
}

TEST_F(GameScriptHooksTest, OnANetworkClientOnlyTheHostsFiringsRun)
{
    ClientScene client;
    Game().SetNetworkLinks(nullptr, nullptr, nullptr, &client);
    dcTrigger::FireTargets(&Game().GetScene(), 0, {target.GetId()});
    EXPECT_EQ(target.Count<dcTriggerMessage>(), 0);

    Game().SetNetworkLinks(nullptr, nullptr, nullptr, nullptr);
    dcTrigger::FireTargets(&Game().GetScene(), 0, {target.GetId()});
    EXPECT_EQ(target.Count<dcTriggerMessage>(), 1);
}
