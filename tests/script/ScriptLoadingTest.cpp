// The registry of node classes and the loaders built on it: missions read
// for the menus, loaded and started, and the sample mission the game ships.

#include "script/ScriptFactory.h"
#include "script/ScriptLoading.h"
#include "script/dcDisableTrigger.h"
#include "script/dcDummyTrigger.h"
#include "script/dcEnableTrigger.h"
#include "script/dcLoadSky.h"
#include "script/dcStartTrigger.h"
#include "script/dcTriggerTarget.h"
#include "tests/script/ScriptTestSupport.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The node classes a mission file may hold, in the registry's order.
const char* const kRegistryNames[] = {
    "dcCreateAIDriver", "dcCreateCamera", "dcCreateCar", "dcCreateHumanDriver", "dcCreatePed", "dcCreateSound",
    "dcDestroyAIDriver", "dcDestroyEntity", "dcResetTrigger", "dcEnableTrigger", "dcDisableTrigger",
    "dcCountTrigger", "dcDummyTrigger", "dcKeyTrigger", "dcVolumeTrigger", "dcRandomTrigger", "dcDelayTrigger",
    "dcTimeTrigger", "dcCreateTextMessage", "dcEndGame", "dcDestroySound", "dcStartTrigger", "dcEnterEvent",
    "dcLeaveEvent", "dcEntityKilledEvent", "dcCutSceneBars", "dcScreenImage", "dcTriggerTarget", "dcGiveItem",
    "dcControlItem", "dcHUDLink", "dcShowModel", "dcScriptLink", "dcScriptClean", "dcTimeScalar", "dcHurtEntity",
    "dcModifyPed", "dcCreateCharacter", "dcModifyCharacter", "dcCompareTrigger", "dcTextNote", "dcSpawnTraffic",
    "dcSpawnPedestrians", "dcPlayMusic", "dcLoadSky", "dcSpawnBoss", "dcScriptParameter", "dcMPCreateCar",
    "dcMPScoreMenu", "dcMPAction", "dcEntityCache", "dcCheckpoint", "dcIngredientClass", "dcZeltoClass",
    "dcIngredientDoneClass", "dcClearZeltoClass", "dcShowZeltoClass", "dcZeltoDestinationClass",
    "dcAddZeltoPointsClass", "dcZeltoReady", "dcEndZelto"};

const std::set<std::string> kBuiltClasses = {"dcEnableTrigger", "dcDisableTrigger", "dcDummyTrigger",
                                             "dcStartTrigger",  "dcTriggerTarget",  "dcScriptClean",
                                             "dcLoadSky"};

TEST(ScriptFactories, HoldEveryMissionNodeClassInOrderUnderItsIdentity)
{
    BuildScriptFactories();
    BuildScriptFactories();
    const std::vector<ScriptFactory*>& factories = GetScriptFactories();
    ASSERT_EQ(factories.size(), std::size(kRegistryNames));
    for (size_t i = 0; i < factories.size(); ++i) {
        const std::string name = kRegistryNames[i];
        EXPECT_EQ(factories[i]->GetClassName(), WideStringFromChars(name.c_str(), -1));
        EXPECT_EQ(factories[i]->GetClassID(), HashClassName(name.c_str())) << name;
        ScopedCapture log;
        std::unique_ptr<MessageReceiver> node(factories[i]->Create());
        if (kBuiltClasses.count(name)) {
            ASSERT_NE(node, nullptr) << name;
            EXPECT_EQ(node->GetClassID(), factories[i]->GetClassID()) << name;
            EXPECT_EQ(node->GetScene(), nullptr);
            EXPECT_TRUE(log->lines.empty()) << name;
        } else {
            EXPECT_EQ(node, nullptr) << name;
            EXPECT_EQ(log->Count(WideStringFromChars((name + ": this mission node is not part").c_str(), -1)), 1);
        }
    }
}

// Start -> Disable -> Dummy: started, the mission disables its dummy node.
class ScriptLoadingTest : public testing::Test {
protected:
    void WriteMission(const WideString& path, uint8_t allowStart, const std::vector<int32_t>& extraRoots = {})
    {
        HostScene source;
        auto* start = AddNode<dcStartTrigger>(source);
        auto* disable = AddNode<dcDisableTrigger>(source);
        auto* dummy = AddNode<dcDummyTrigger>(source);
        start->AllowStart = allowStart;
        start->Name = 4711;
        start->GetTargetIds() = {disable->GetId()};
        disable->GetTargetIds() = {dummy->GetId()};
        std::vector<int32_t> roots = {start->GetId()};
        roots.insert(roots.end(), extraRoots.begin(), extraRoots.end());
        DumpWriter writer;
        writer.SetScene(&source);
        ASSERT_TRUE(writer.WriteDump(path, roots));
    }

    std::vector<dcDummyTrigger*> Dummies()
    {
        std::vector<dcDummyTrigger*> found;
        for (int32_t id = 1; id < 100; ++id) {
            if (auto* dummy = FindNode<dcDummyTrigger>(scene, id)) {
                found.push_back(dummy);
            }
        }
        return found;
    }

    ScratchFiles files;
    HostScene scene;
};

TEST_F(ScriptLoadingTest, EachLoadMakesAndStartsItsOwnSetOfNodes)
{
    WriteMission(L"Mission.dcScript", 0, {0});
    LoadScriptFile(scene, L"Mission.dcScript");
    LoadScriptFile(scene, L"Mission.dcScript");
    EXPECT_EQ(scene.Count(), 6);
    const std::vector<dcDummyTrigger*> dummies = Dummies();
    ASSERT_EQ(dummies.size(), 2u);
    EXPECT_FALSE(dummies[0]->IsEnabled());
    EXPECT_FALSE(dummies[1]->IsEnabled());
}

TEST_F(ScriptLoadingTest, AMissionThatAllowsStartingIsRecordedAsReached)
{
    FakeGameHooks game;
    WriteMission(L"Closed.dcScript", 0);
    WriteMission(L"Open.dcScript", 1);
    LoadScriptFile(scene, L"Closed.dcScript");
    EXPECT_TRUE(game.reachedScripts.empty());
    LoadScriptFile(scene, L"Open.dcScript");
    EXPECT_EQ(game.reachedScripts, std::vector<WideString>{L"Open.dcScript"});
    EXPECT_EQ(Dummies().size(), 2u);
}

TEST_F(ScriptLoadingTest, MenusReadTheStartNodesAlone)
{
    WriteMission(L"Mission.dcScript", 1);
    const std::vector<int32_t> roots = LoadScriptRoots(scene, L"Mission.dcScript");
    ASSERT_EQ(roots.size(), 1u);
    const dcStartTrigger* start = FindNode<dcStartTrigger>(scene, roots[0]);
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->Name, 4711);
    EXPECT_TRUE(start->GetTargetIds().empty());
    EXPECT_EQ(scene.Count(), 1);
}

TEST_F(ScriptLoadingTest, AMissingMissionIsEmptyAndSaidNothingOf)
{
    ScopedCapture log;
    EXPECT_TRUE(LoadScriptRoots(scene, L"Missing.dcScript").empty());
    LoadScriptFile(scene, L"Missing.dcScript");
    std::vector<int32_t> roots = {1};
    ReadScript(L"Missing.dcScript", scene, roots);
    EXPECT_EQ(roots, std::vector<int32_t>{1});
    EXPECT_EQ(scene.Count(), 0);
    EXPECT_TRUE(log->lines.empty());
}

TEST_F(ScriptLoadingTest, TheScriptHostGetsTheRootsAppendedUnfired)
{
    WriteMission(L"Mission.dcScript", 0);
    std::vector<int32_t> roots = {1};
    ReadScript(L"Mission.dcScript", scene, roots);
    ASSERT_EQ(roots.size(), 2u);
    EXPECT_NE(FindNode<dcStartTrigger>(scene, roots[1]), nullptr);
    ASSERT_EQ(Dummies().size(), 1u);
    EXPECT_TRUE(Dummies()[0]->IsEnabled());
}

// The sample data's mission, built by the data builder's own dump writer.
TEST(SampleMission, TheAutoloadMissionReadsAndStarts)
{
    MountedFixture data(L"sampledata");
    HostScene scene;
    ScopedCapture log;
    std::vector<int32_t> roots;
    ReadScript(L"Scripts\\Autoload.dcScript", scene, roots);
    EXPECT_TRUE(log->lines.empty());
    ASSERT_EQ(roots.size(), 1u);
    auto* start = FindNode<dcStartTrigger>(scene, roots[0]);
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->InternalName, L"Autoload");
    EXPECT_EQ(start->AllowStart, 0);

    const std::vector<int32_t>& links = start->GetTargetIds();
    ASSERT_EQ(links.size(), 4u);
    auto* sky = FindNode<dcLoadSky>(scene, links[0]);
    auto* disable = FindNode<dcDisableTrigger>(scene, links[1]);
    auto* dummy = FindNode<dcDummyTrigger>(scene, links[2]);
    auto* target = FindNode<dcTriggerTarget>(scene, links[3]);
    ASSERT_TRUE(sky && dummy && disable && target);
    EXPECT_EQ(sky->Sky, L"Day");
    ASSERT_EQ(dummy->GetTargetIds().size(), 1u);
    auto* enable = FindNode<dcEnableTrigger>(scene, dummy->GetTargetIds()[0]);
    ASSERT_NE(enable, nullptr);
    EXPECT_EQ(enable->GetTargetIds(), std::vector<int32_t>{target->GetId()});
    EXPECT_EQ(disable->GetTargetIds(), std::vector<int32_t>{target->GetId()});
    EXPECT_EQ(target->SubjectId, 0);
    EXPECT_FLOAT_EQ(target->Position.y, 2.0f);

    // The switch off comes first, the switch back on through the dummy after.
    start->Send(dcTriggerMessage{0});
    EXPECT_TRUE(target->IsEnabled());
    EXPECT_EQ(scene.Count(), 6);
}

} // namespace
