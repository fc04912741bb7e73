// The mission's start node, the switches, the pass-through node and the
// position node, each as the nodes around it see it.

#include "game/weapons/TargetMessage.h"
#include "game/world/GameMessages.h"
#include "script/dcDisableTrigger.h"
#include "script/dcDummyTrigger.h"
#include "script/dcEnableTrigger.h"
#include "script/dcStartTrigger.h"
#include "script/dcTriggerTarget.h"
#include "tests/script/ScriptTestSupport.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

// Stands for the start screen's images, which the world holds for; the real
// node class comes with the presentation nodes.
class dcScreenImage : public dcTrigger {
    DC_RECEIVER(dcScreenImage, dcTrigger)
};

// A mission node outside the node base, as the volume trigger is: it answers
// none of the base requests.
class dcTestVolume : public MessageReceiver {
    DC_RECEIVER(dcTestVolume, MessageReceiver)
};

// An entity at a place, turned: it answers where it is.
class dcTestEntity : public MessageReceiver {
    DC_RECEIVER(dcTestEntity, MessageReceiver)
public:
    dcTestEntity()
    {
        Handles<dcOrientation, &dcTestEntity::OnOrientation>();
        Handles<dcTargetMessage, &dcTestEntity::OnTargetMessage>();
    }

    Vec3 position;
    Quaternion rotation;

private:
    void OnOrientation(const dcOrientation& message)
    {
        message.position = position;
        message.orientation = rotation;
    }
    void OnTargetMessage(const dcTargetMessage& message)
    {
        message.position = position;
        message.rotation = rotation;
        message.health = 40.0f;
        message.maxHealth = 100.0f;
        message.priority = 0.5f;
    }
};

// Counts the resets it is passed.
class dcTestResettable : public dcTrigger {
    DC_RECEIVER(dcTestResettable, dcTrigger)
public:
    dcTestResettable() { Handles<dcTriggerReset, &dcTestResettable::OnReset>(); }
    int32_t resets = 0;

private:
    void OnReset(const dcTriggerReset&) { ++resets; }
};

bool Near(const Vec3& a, const Vec3& b)
{
    return std::fabs(a.x - b.x) < 1e-5f && std::fabs(a.y - b.y) < 1e-5f && std::fabs(a.z - b.z) < 1e-5f;
}

const Quaternion kQuarterTurn = Quaternion::FromAxisAngle(kWorldUp, std::numbers::pi_v<float> / 2.0f);

class FlowNodesTest : public testing::Test {
protected:
    dcTestNode* Node(const std::string& name) { return AddNode<dcTestNode>(scene, name, journal); }
    void Fire(MessageReceiver* node, int32_t sender) { dcTrigger::FireTargets(&scene, sender, {node->GetId()}); }

    HostScene scene;
    Journal journal;
};

TEST_F(FlowNodesTest, TheStartNodeFiresEvenDisabledPassingItsSenderOn)
{
    auto* start = AddNode<dcStartTrigger>(scene);
    start->GetTargetIds() = {Node("A")->GetId(), Node("B")->GetId()};
    start->Send(dcTriggerDisable{});
    start->Send(dcTriggerMessage{31});
    EXPECT_EQ(journal, (Journal{"A<-31", "B<-31"}));
}

TEST_F(FlowNodesTest, PauseOnStartHoldsTheWorldForTheLinkedImagesOnly)
{
    FakeGameHooks game;
    std::vector<std::vector<int32_t>> expectedHolds;
    for (uint8_t pause : {1, 0}) {
        auto* start = AddNode<dcStartTrigger>(scene);
        auto* first = AddNode<dcScreenImage>(scene);
        dcTestNode* node = Node("N");
        auto* second = AddNode<dcScreenImage>(scene);
        start->PauseOnStart = pause;
        start->GetTargetIds() = {first->GetId(), node->GetId(), 0, second->GetId()};
        if (pause) {
            expectedHolds.push_back({first->GetId(), second->GetId()});
        }
        journal.clear();
        start->Send(dcTriggerMessage{0});
        EXPECT_EQ(journal, Journal{"N<-0"});
    }
    EXPECT_EQ(game.holds, expectedHolds);
}

TEST_F(FlowNodesTest, SwitchesTurnTheirTargetsOnAndOffWithoutFiringThem)
{
    dcTestNode* a = Node("A");
    auto* volume = AddNode<dcTestVolume>(scene);
    auto* enable = AddNode<dcEnableTrigger>(scene);
    auto* disable = AddNode<dcDisableTrigger>(scene);
    enable->GetTargetIds() = {volume->GetId(), a->GetId()};
    disable->GetTargetIds() = {a->GetId(), volume->GetId()};

    Fire(disable, 0);
    EXPECT_FALSE(a->IsEnabled());
    Fire(enable, 0);
    EXPECT_TRUE(a->IsEnabled());
    EXPECT_TRUE(journal.empty());

    // A disabled switch does nothing.
    disable->Send(dcTriggerDisable{});
    Fire(disable, 0);
    EXPECT_TRUE(a->IsEnabled());
}

TEST_F(FlowNodesTest, SwitchesReplicateTheirFiringOnTheHost)
{
    FakeGameHooks game;
    HostScene router;   // no server: each replication is reported instead
    game.hostRouter = &router;
    auto* enable = AddNode<dcEnableTrigger>(scene);
    auto* disable = AddNode<dcDisableTrigger>(scene);
    auto* dummy = AddNode<dcDummyTrigger>(scene);
    ScopedCapture log;
    Fire(enable, 0);
    Fire(disable, 0);
    Fire(dummy, 0);
    EXPECT_EQ(log->Count(L"not sent"), 2);
}

TEST_F(FlowNodesTest, ThePassThroughNodePassesItsSenderOnWhileEnabled)
{
    auto* dummy = AddNode<dcDummyTrigger>(scene);
    dummy->GetTargetIds() = {Node("A")->GetId()};
    dummy->Send(dcTriggerMessage{12});
    dummy->Send(dcTriggerDisable{});
    dummy->Send(dcTriggerMessage{13});
    EXPECT_EQ(journal, Journal{"A<-12"});
}

// Disabled or not, the pass-through node hands resets on, and a loop of such
// nodes hands each reset round once.
TEST_F(FlowNodesTest, ResetsPassThroughOnceEvenRoundALoop)
{
    auto* first = AddNode<dcDummyTrigger>(scene);
    auto* second = AddNode<dcDummyTrigger>(scene);
    auto* counter = AddNode<dcTestResettable>(scene);
    first->GetTargetIds() = {second->GetId(), counter->GetId()};
    second->GetTargetIds() = {first->GetId(), counter->GetId()};
    first->Send(dcTriggerDisable{});
    EXPECT_EQ(first->Send(dcTriggerReset{}), 1);
    EXPECT_EQ(counter->resets, 2);
}

TEST_F(FlowNodesTest, ATargetNodeStandsForItselfAndFiresLikeAPassThrough)
{
    auto* target = AddNode<dcTriggerTarget>(scene);
    target->GetTargetIds() = {Node("A")->GetId()};
    std::vector<int32_t> ids = {5};
    EXPECT_EQ(target->Send(dcGetTriggerTarget{&ids}), 1);
    EXPECT_EQ(ids, (std::vector<int32_t>{5, target->GetId()}));
    target->Send(dcTriggerMessage{8});
    EXPECT_EQ(journal, Journal{"A<-8"});
}

TEST_F(FlowNodesTest, ATargetNodeWithoutSubjectAnswersItsStoredPose)
{
    auto* target = AddNode<dcTriggerTarget>(scene);
    target->Position = {1, 2, 3};
    target->Orientation = kQuarterTurn;
    target->SubjectId = 999;   // resolves to nothing
    const dcOrientation pose{};
    EXPECT_EQ(target->Send(pose), 1);
    EXPECT_TRUE(Near(pose.position, {1, 2, 3}));
    EXPECT_FLOAT_EQ(pose.orientation.y, kQuarterTurn.y);

    dcTargetMessage record;
    record.velocity = {4, 5, 6};
    record.radius = 2.0f;
    record.health = 9.0f;
    EXPECT_EQ(target->Send(record), 1);
    EXPECT_TRUE(Near(record.position, {1, 2, 3}));
    EXPECT_EQ(record.geometry, nullptr);
    EXPECT_EQ(record.health, 1.0f);
    EXPECT_EQ(record.maxHealth, 0.0f);
    EXPECT_EQ(record.radius, 2.0f);   // left as the asker prepared it
    EXPECT_TRUE(Near(record.velocity, {4, 5, 6}));
}

// A car at (10, 0, 0) turned a quarter turn about the vertical: the stored
// point (1, 0, 0) lies one unit along the car's own x axis.
TEST_F(FlowNodesTest, ATargetNodeOnASubjectIsPlacedInTheSubjectsFrame)
{
    auto* car = AddNode<dcTestEntity>(scene);
    car->position = {10, 0, 0};
    car->rotation = kQuarterTurn;
    auto* target = AddNode<dcTriggerTarget>(scene);
    target->Position = {1, 0, 0};
    target->Orientation = kQuarterTurn;
    target->SubjectId = car->GetId();

    const dcOrientation pose{};
    target->Send(pose);
    EXPECT_TRUE(Near(pose.position, {10, 0, -1}));
    const Quaternion halfTurn = Quaternion::Multiply(kQuarterTurn, kQuarterTurn);
    EXPECT_NEAR(pose.orientation.y, halfTurn.y, 1e-6f);
    EXPECT_NEAR(pose.orientation.w, halfTurn.w, 1e-6f);

    dcTargetMessage record;
    target->Send(record);
    EXPECT_TRUE(Near(record.position, {10, 0, -1}));
    EXPECT_EQ(record.health, 1.0f);
    EXPECT_EQ(record.maxHealth, 0.0f);
    EXPECT_EQ(record.priority, 0.5f);

    // As stored, whatever the subject.
    const dcTriggerOrientation stored{};
    target->Send(stored);
    EXPECT_TRUE(Near(stored.position, {1, 0, 0}));
}

// Target nodes that are each other's subject answer instead of asking each
// other for ever.
TEST_F(FlowNodesTest, TargetNodesThatAreEachOthersSubjectStillAnswer)
{
    auto* a = AddNode<dcTriggerTarget>(scene);
    auto* b = AddNode<dcTriggerTarget>(scene);
    a->Position = {1, 0, 0};
    b->Position = {0, 1, 0};
    a->SubjectId = b->GetId();
    b->SubjectId = a->GetId();
    const dcOrientation pose{};
    EXPECT_EQ(a->Send(pose), 1);
    EXPECT_TRUE(Near(pose.position, {2, 1, 0}));
    dcTargetMessage record;
    EXPECT_EQ(b->Send(record), 1);
}

} // namespace
