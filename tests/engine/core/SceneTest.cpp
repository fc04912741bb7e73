#include "engine/core/EngineMessages.h"
#include "engine/core/MessageChannel.h"
#include "engine/core/MessageReceiver.h"
#include "engine/core/Scene.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct dcTestTick {
    DC_MESSAGE(dcTestTick)
    int32_t step;
};

struct dcTestQuiet {
    DC_MESSAGE(dcTestQuiet)
    int32_t unused;
};

// Receivers journal what they hear and what becomes of them; a tick may run
// a reaction (release itself, destroy another) inside the delivery.
class dcTestEntity : public MessageReceiver {
    DC_RECEIVER(dcTestEntity, MessageReceiver)
public:
    dcTestEntity(std::string name, std::vector<std::string>& journal) : name_(std::move(name)), journal_(journal)
    {
        Handles<dcSceneAdd, &dcTestEntity::OnSceneAdd>();
        Handles<dcSceneDel, &dcTestEntity::OnSceneDel>();
        Handles<dcTestTick, &dcTestEntity::OnTick>();
    }
    ~dcTestEntity() override { journal_.push_back(name_ + " destroyed"); }

    std::function<void()> onTick;

private:
    void OnSceneAdd(const dcSceneAdd&) { journal_.push_back(name_ + " added"); }
    void OnSceneDel(const dcSceneDel&) { journal_.push_back(name_ + " removed"); }
    void OnTick(const dcTestTick& msg)
    {
        journal_.push_back(name_ + " tick " + std::to_string(msg.step));
        if (onTick) {
            onTick();
        }
    }

    std::string name_;
    std::vector<std::string>& journal_;
};

// Hears only scene membership, never ticks.
class dcTestProp : public MessageReceiver {
    DC_RECEIVER(dcTestProp, MessageReceiver)
};

// Ids from 3 up, never reused, as the concrete scenes hand them out.
class TestScene : public Scene {
public:
    TestScene() { nextId_ = 3; }
    int32_t NewId() override { return nextId_++; }
};

class SceneTest : public testing::Test {
protected:
    dcTestEntity* Make(const std::string& name) { return new dcTestEntity(name, journal); }

    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(journal);
        return taken;
    }

    std::vector<std::string> journal;
    TestScene scene;
};

} // namespace

TEST_F(SceneTest, AddingGivesIdsAndTellsTheReceiver)
{
    dcTestEntity* first = Make("a");
    dcTestEntity* second = Make("b");
    EXPECT_EQ(scene.Add(first), 1);
    EXPECT_EQ(scene.Add(second), 1);
    EXPECT_EQ(first->GetId(), 3);
    EXPECT_EQ(second->GetId(), 4);
    EXPECT_EQ(scene.FindReceiver(4), second);
    EXPECT_EQ(Take(), (std::vector<std::string>{"a added", "b added"}));

    scene.Delete(first);
    EXPECT_EQ(Take(), (std::vector<std::string>{"a removed", "a destroyed"}));
    EXPECT_EQ(scene.FindReceiver(3), nullptr);
    second->Release();
    EXPECT_EQ(scene.Count(), 0);
}

TEST_F(SceneTest, BroadcastReachesHandlersInIdOrder)
{
    dcTestEntity* late = Make("late");
    dcTestEntity* early = Make("early");
    dcTestProp prop;
    scene.AddWithId(late, -2);   // ids are ordered as unsigned values: -2 comes last
    scene.AddWithId(early, 7);
    scene.Add(&prop);
    Take();

    EXPECT_EQ(scene.Broadcast(dcTestTick{1}), 2);
    EXPECT_EQ(Take(), (std::vector<std::string>{"early tick 1", "late tick 1"}));
    EXPECT_EQ(scene.Broadcast(dcTestQuiet{0}), 0);
    EXPECT_EQ(scene.GetDispatchDepth(), 0);

    scene.Remove(&prop);
    scene.Delete(late);
    scene.Delete(early);
}

TEST_F(SceneTest, ReleaseDuringBroadcastWaitsForItsEnd)
{
    dcTestEntity* quitter = Make("quitter");
    dcTestEntity* other = Make("other");
    scene.Add(quitter);
    scene.Add(other);
    quitter->onTick = [quitter] {
        quitter->Release();
        quitter->Release();   // a second release in the same delivery queues it once
    };
    other->onTick = [quitter] { quitter->Release(); };
    Take();

    EXPECT_EQ(scene.Broadcast(dcTestTick{2}), 2);
    EXPECT_EQ(Take(), (std::vector<std::string>{"quitter tick 2", "quitter removed", "other tick 2", "quitter destroyed"}));
    EXPECT_EQ(scene.Count(), 1);
    scene.Delete(other);
}

TEST_F(SceneTest, FlushDestroysTheLastQueuedFirst)
{
    dcTestEntity* first = Make("first");
    dcTestEntity* second = Make("second");
    scene.Add(first);
    scene.Add(second);
    scene.EnterDispatch();
    scene.Delete(first);
    scene.Delete(second);
    Take();
    scene.LeaveDispatch();
    EXPECT_EQ(Take(), (std::vector<std::string>{"second destroyed", "first destroyed"}));
}

TEST_F(SceneTest, ReceiversDestroyedDuringABroadcastAreNotCalled)
{
    dcTestEntity* killer = Make("killer");
    dcTestEntity* victim = Make("victim");
    scene.Add(killer);
    scene.Add(victim);
    killer->onTick = [victim] { delete victim; };
    Take();

    EXPECT_EQ(scene.Broadcast(dcTestTick{3}), 1);
    EXPECT_EQ(Take(), (std::vector<std::string>{"killer tick 3", "victim destroyed"}));
    EXPECT_EQ(scene.FindReceiver(4), nullptr);
    scene.Delete(killer);
}

TEST_F(SceneTest, TakenIdsNeverShadowTheirOwner)
{
    ScopedCapture log(kLogError);
    dcTestEntity* owner = Make("owner");
    dcTestEntity* intruder = Make("intruder");
    scene.AddWithId(owner, 9);
    Take();

    EXPECT_EQ(scene.AddWithId(intruder, 9), 0);
    EXPECT_EQ(intruder->GetScene(), nullptr);
    EXPECT_TRUE(log->Contains(L"id 9 is taken"));
    EXPECT_TRUE(Take().empty());   // the intruder was not told it joined

    // Destroying or removing a receiver under the same id leaves the owner's entry.
    scene.AddWithId(intruder, 10);
    EXPECT_FALSE(scene.Rekey(intruder, 9));
    EXPECT_EQ(intruder->GetId(), 10);
    delete intruder;
    EXPECT_EQ(scene.FindReceiver(9), owner);
    EXPECT_EQ(scene.FindReceiver(10), nullptr);

    EXPECT_TRUE(scene.Rekey(owner, 11));
    EXPECT_EQ(scene.FindReceiver(11), owner);
    EXPECT_EQ(scene.FindReceiver(9), nullptr);
    scene.Delete(owner);
}

TEST_F(SceneTest, RemovalKeepsIdsButClearsNegativeOnes)
{
    struct Case {
        int32_t id;
        int32_t after;
    };
    for (const Case& c : std::initializer_list<Case>{{-5, 0}, {12, 12}}) {
        dcTestProp prop;
        scene.AddWithId(&prop, c.id);
        EXPECT_TRUE(scene.Remove(&prop));
        EXPECT_EQ(prop.GetId(), c.after);
        EXPECT_EQ(prop.GetScene(), nullptr);
    }
    EXPECT_EQ(scene.FindReceiver(0), nullptr);
}

TEST_F(SceneTest, DirectDestructionSendsNoSceneDel)
{
    dcTestEntity* entity = Make("gone");
    scene.Add(entity);
    Take();
    delete entity;
    EXPECT_EQ(Take(), std::vector<std::string>{"gone destroyed"});
    EXPECT_EQ(scene.Count(), 0);
}

TEST_F(SceneTest, ChannelsKeepTheMembersThatHandleTheirTypes)
{
    MessageChannel ticks;
    dcTestEntity* first = Make("first");
    dcTestProp prop;
    scene.Add(first);
    scene.Add(&prop);
    scene.AddObserver(&ticks);
    EXPECT_TRUE(ticks.Receivers().empty());   // no identity yet

    ticks.AddIdentity(dcTestTick::Identity().Id());   // rebuilt from the scene
    EXPECT_EQ(ticks.Receivers(), std::vector<MessageReceiver*>{first});

    dcTestEntity* second = Make("second");
    scene.Add(second);
    EXPECT_EQ(ticks.Receivers(), (std::vector<MessageReceiver*>{first, second}));
    Take();

    // A receiver destroyed during the channel's broadcast is not called, and
    // the one moving into its place still is.
    first->onTick = [first] { delete first; };
    EXPECT_EQ(ticks.Broadcast(dcTestTick{4}), 2);
    EXPECT_EQ(Take(), (std::vector<std::string>{"first tick 4", "first destroyed", "second tick 4"}));

    scene.Remove(second);
    EXPECT_TRUE(ticks.Receivers().empty());
    scene.Remove(&prop);
    delete second;
}

TEST_F(SceneTest, TransferMovesMembersCounterAndObservers)
{
    MessageChannel ticks;
    ticks.AddIdentity(dcTestTick::Identity().Id());
    scene.AddObserver(&ticks);
    dcTestEntity* entity = Make("moved");
    scene.Add(entity);

    TestScene other;
    scene.TransferTo(other);
    EXPECT_EQ(scene.Count(), 0);
    EXPECT_EQ(other.FindReceiver(3), entity);
    EXPECT_EQ(entity->GetScene(), &other);
    EXPECT_EQ(other.NewId(), 4);
    Take();
    EXPECT_EQ(other.Broadcast(dcTestTick{5}), 1);
    other.Delete(entity);
    EXPECT_TRUE(ticks.Receivers().empty());
}

TEST_F(SceneTest, DumpCountsMembersByType)
{
    ScopedCapture log(kLogMessage);
    dcTestProp a;
    dcTestProp b;
    dcTestEntity* entity = Make("e");
    scene.Add(&a);
    scene.Add(entity);
    scene.Add(&b);
    scene.DumpEntities();
    EXPECT_EQ(log->lines, (std::vector<WideString>{
                              L"^1EntityDump list (3 entities active)", L"^1EntityDump stats (2 types active)",
                              L"EntityType: Name = dcTestProp", L"EntityType: Count = 2", L"",
                              L"EntityType: Name = dcTestEntity", L"EntityType: Count = 1", L"",
                              L"^1EntityDump complete (3 entities active) (2 types active)"}));
    scene.Remove(&a);
    scene.Remove(&b);
    scene.Delete(entity);
}
