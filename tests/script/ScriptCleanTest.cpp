// The node that ends a running mission: world reset, the mission's nodes
// gone, its targets run in a scene free of the old mission, then gone too.

#include "game/world/GameMessages.h"
#include "script/dcScriptClean.h"
#include "tests/script/ScriptTestSupport.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

namespace {

// A game entity that is no mission node: it only hears world resets.
class dcTestProp : public MessageReceiver {
    DC_RECEIVER(dcTestProp, MessageReceiver)
public:
    dcTestProp() { Handles<dcGameReset, &dcTestProp::OnGameReset>(); }
    std::vector<uint8_t> resets;

private:
    void OnGameReset(const dcGameReset& message) { resets.push_back(message.reason); }
};

class ScriptCleanTest : public testing::Test {
protected:
    dcTestNode* Node(const std::string& name) { return AddNode<dcTestNode>(scene, name, journal); }
    bool Has(int32_t id) const { return scene.FindReceiver(id) != nullptr; }

    HostScene scene;
    Journal journal;
};

// The link target stands for a script link: fired, it loads the next
// mission's node, which must survive the clean-up.
TEST_F(ScriptCleanTest, TheMissionGoesAndTheNextOneStays)
{
    auto* prop = AddNode<dcTestProp>(scene);
    const int32_t oldNode = Node("Old")->GetId();
    const int32_t otherOld = Node("OtherOld")->GetId();
    dcTestNode* link = Node("Link");
    const int32_t linkId = link->GetId();
    int32_t nextNode = 0;
    link->onFire = [&] {
        EXPECT_FALSE(Has(oldNode));
        nextNode = Node("Next")->GetId();
    };
    auto* clean = AddNode<dcScriptClean>(scene);
    const int32_t cleanId = clean->GetId();
    clean->GetTargetIds() = {linkId};

    dcTrigger::FireTargets(&scene, 0, {cleanId});

    EXPECT_EQ(journal, (Journal{"Link<-" + std::to_string(cleanId)}));
    EXPECT_FALSE(Has(oldNode));
    EXPECT_FALSE(Has(otherOld));
    EXPECT_FALSE(Has(linkId));
    EXPECT_FALSE(Has(cleanId));
    EXPECT_TRUE(Has(nextNode));
    ASSERT_TRUE(Has(prop->GetId()));
    EXPECT_EQ(prop->resets, std::vector<uint8_t>{dcGameReset::kRestart});
}

TEST_F(ScriptCleanTest, WithBothSettingsOffItOnlyFiresItsTargets)
{
    FakeGameHooks game;
    HostScene router;   // no server: the replication is reported instead
    game.hostRouter = &router;
    auto* prop = AddNode<dcTestProp>(scene);
    const int32_t other = Node("Other")->GetId();
    auto* clean = AddNode<dcScriptClean>(scene);
    clean->CleanWorld = 0;
    clean->CleanScript = 0;
    clean->GetTargetIds() = {Node("Target")->GetId()};
    ScopedCapture log;
    clean->Send(dcTriggerMessage{4});
    EXPECT_EQ(journal, (Journal{"Target<-" + std::to_string(clean->GetId())}));
    EXPECT_EQ(log->Count(L"not sent"), 1);
    EXPECT_TRUE(Has(other));
    EXPECT_TRUE(Has(clean->GetId()));
    EXPECT_TRUE(prop->resets.empty());
    EXPECT_EQ(scene.Count(), 4);
}

TEST_F(ScriptCleanTest, ADisabledCleanNodeDoesNothingAtAll)
{
    FakeGameHooks game;
    HostScene router;
    game.hostRouter = &router;
    auto* prop = AddNode<dcTestProp>(scene);
    auto* clean = AddNode<dcScriptClean>(scene);
    clean->GetTargetIds() = {Node("Target")->GetId()};
    clean->Send(dcTriggerDisable{});
    ScopedCapture log;
    clean->Send(dcTriggerMessage{0});
    EXPECT_TRUE(journal.empty());
    EXPECT_TRUE(log->lines.empty());
    EXPECT_TRUE(prop->resets.empty());
    EXPECT_EQ(scene.Count(), 3);
}

} // namespace
