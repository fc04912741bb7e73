// How mission nodes pass control along their links: ordinary targets first,
// delay nodes in a second pass, dead links skipped, nothing on a network
// client, and the six requests every node answers.

#include "script/dcTrigger.h"
#include "tests/script/ScriptTestSupport.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

namespace {

class TriggerFiringTest : public testing::Test {
protected:
    dcTestNode* Node(const std::string& name) { return AddNode<dcTestNode>(scene, name, journal); }
    dcTestDelayNode* DelayNode(const std::string& name) { return AddNode<dcTestDelayNode>(scene, name, journal); }

    HostScene scene;
    Journal journal;
};

TEST_F(TriggerFiringTest, DelayNodesAreFiredAfterTheOthersWithTheSameSender)
{
    dcTestNode* a = Node("A");
    dcTestDelayNode* d = DelayNode("D");
    dcTestNode* b = Node("B");
    dcTrigger::FireTargets(&scene, 42, {a->GetId(), d->GetId(), b->GetId()});
    EXPECT_EQ(journal, (Journal{"A<-42", "D asked", "B<-42", "D asked", "D<-42"}));
}

TEST_F(TriggerFiringTest, LinksToNothingAreSkipped)
{
    dcTestNode* a = Node("A");
    dcTestNode* gone = Node("Gone");
    const int32_t goneId = gone->GetId();
    scene.Delete(gone);
    dcTestNode* b = Node("B");
    dcTrigger::FireTargets(&scene, 7, {0, a->GetId(), goneId, 999, b->GetId()});
    dcTrigger::FireTargets(nullptr, 7, {a->GetId()});
    EXPECT_EQ(journal, (Journal{"A<-7", "B<-7"}));
}

TEST_F(TriggerFiringTest, ANodeFiresItsOwnTargetsAsItselfOrAsItsSender)
{
    dcTestNode* source = Node("S");
    dcTestNode* a = Node("A");
    source->GetTargetIds() = {a->GetId()};
    source->FireOwnTargets();
    source->FireOwnTargetsAs(99);
    source->FireTargetList({a->GetId(), a->GetId()});
    const std::string self = std::to_string(source->GetId());
    EXPECT_EQ(journal, (Journal{"A<-" + self, "A<-99", "A<-" + self, "A<-" + self}));
}

TEST_F(TriggerFiringTest, ANetworkClientNeverFiresButReplaysWhatArrives)
{
    FakeGameHooks game;
    game.networkClient = true;
    dcTestNode* a = Node("A");
    dcTestNode* b = Node("B");
    a->GetTargetIds() = {b->GetId()};
    dcTrigger::FireTargets(&scene, 1, {a->GetId()});
    EXPECT_TRUE(journal.empty());
    // The host's replay reaches the node itself; its own firing stops there.
    const dcTriggerMessage fromHost{5};
    scene.Deliver(a->GetId(), dcTriggerMessage::Identity().Id(), &fromHost, sizeof fromHost, 0);
    EXPECT_EQ(journal, (Journal{"A<-5"}));
}

TEST_F(TriggerFiringTest, TheHostReplicatesAFiringToItsClients)
{
    FakeGameHooks game;
    HostScene router;   // no server: what would be sent is reported instead
    game.hostRouter = &router;
    ScopedCapture log;
    dcTrigger::ReplicateTrigger(12, 3);
    EXPECT_EQ(log->Count(L"message " + std::to_wstring(dcTriggerMessage::Identity().Id()) + L" not sent"), 1);
    game.hostRouter = nullptr;
    dcTrigger::ReplicateTrigger(12, 3);
    EXPECT_EQ(log->lines.size(), 1u);
}

TEST_F(TriggerFiringTest, DisabledNodesAnswerAndStayQuiet)
{
    dcTestNode* a = Node("A");
    a->Send(dcTriggerDisable{});
    dcTriggerEnabled query{7};
    EXPECT_EQ(a->Send(query), 1);
    EXPECT_EQ(query.enabled, 0);
    dcTrigger::FireTargets(&scene, 1, {a->GetId()});
    EXPECT_TRUE(journal.empty());
    a->Send(dcTriggerEnable{});
    EXPECT_EQ(a->Send(query), 1);
    EXPECT_EQ(query.enabled, 1);
    dcTrigger::FireTargets(&scene, 1, {a->GetId()});
    EXPECT_EQ(journal, (Journal{"A<-1"}));
}

// A subclass that does not list a request is answered by the base's entry,
// and that lookup leaves the subclass's remembered hit alone.
TEST_F(TriggerFiringTest, BaseRequestsReachEveryNodeClass)
{
    dcTestDelayNode* d = DelayNode("D");
    EXPECT_TRUE(d->HandlesMessage(dcTriggerDelay::Identity().Id()));
    EXPECT_TRUE(d->HandlesMessage(dcTriggerDisable::Identity().Id()));
    EXPECT_EQ(d->Send(dcTriggerDisable{}), 1);
    EXPECT_FALSE(d->IsEnabled());
    EXPECT_TRUE(d->HandlesMessage(dcTriggerDelay::Identity().Id()));
    EXPECT_EQ(d->Send(dcTriggerReset{}), 0);
}

// B destroys its firer A and the sibling C in the middle of A's firing: A
// stays whole until its firing is over, and C is not fired.
TEST_F(TriggerFiringTest, NodesDestroyedDuringAFiringGoOnceItIsOver)
{
    dcTestNode* a = Node("A");
    dcTestNode* b = Node("B");
    dcTestNode* c = Node("C");
    const int32_t aId = a->GetId();
    const int32_t cId = c->GetId();
    a->GetTargetIds() = {b->GetId(), cId};
    b->onFire = [&] {
        a->Send(dcTriggerDestroy{});
        c->Send(dcTriggerDestroy{});
    };
    dcTrigger::FireTargets(&scene, 0, {aId});
    EXPECT_EQ(journal, (Journal{"A<-0", "B<-" + std::to_string(aId)}));
    EXPECT_EQ(scene.FindReceiver(aId), nullptr);
    EXPECT_EQ(scene.FindReceiver(cId), nullptr);
    EXPECT_EQ(scene.Count(), 1);
}

// Nodes that fire each other round a loop stop at a bounded depth, with one
// line, however the loop branches; the next firing runs again.
TEST_F(TriggerFiringTest, ALoopOfNodesStopsInsteadOfExhaustingTheStack)
{
    dcTestNode* a = Node("A");
    dcTestNode* b = Node("B");
    dcTestNode* c = Node("C");
    a->GetTargetIds() = {b->GetId(), c->GetId()};
    b->GetTargetIds() = {a->GetId()};
    c->GetTargetIds() = {a->GetId()};
    ScopedCapture log;
    dcTrigger::FireTargets(&scene, 0, {a->GetId()});
    EXPECT_EQ(log->Count(L"fire each other more than"), 1);
    EXPECT_LE(journal.size(), static_cast<size_t>(dcTrigger::kMaxFiringDepth));
    a->GetTargetIds().clear();
    journal.clear();
    dcTrigger::FireTargets(&scene, 0, {a->GetId()});
    EXPECT_EQ(journal, (Journal{"A<-0"}));
}

} // namespace
