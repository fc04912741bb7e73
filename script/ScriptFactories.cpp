#include "script/ScriptFactories.h"

#include "engine/core/LogHub.h"
#include "script/DumpReader.h"
#include "script/ScriptFactory.h"
#include "script/dcDisableTrigger.h"
#include "script/dcDummyTrigger.h"
#include "script/dcEnableTrigger.h"
#include "script/dcLoadSky.h"
#include "script/dcScriptClean.h"
#include "script/dcStartTrigger.h"
#include "script/dcTriggerTarget.h"

#include <memory>

namespace {

// The place of a node class this game cannot make: a mission holding one is
// refused with a line naming the class.
class MissingNodeFactory : public ScriptFactory {
public:
    explicit MissingNodeFactory(const char* className)
        : ScriptFactory(WideStringFromChars(className, -1), HashClassName(className))
    {
    }

    MessageReceiver* Create() override
    {
        LogHub::PrintError("%s: this mission node is not part of the game", GetClassName().c_str());
        return nullptr;
    }
};

struct Registry {
    std::vector<std::unique_ptr<ScriptFactory>> owned;
    std::vector<ScriptFactory*> list;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

template <class Node>
std::unique_ptr<ScriptFactory> Made()
{
    return std::make_unique<NodeFactory<Node>>();
}

std::unique_ptr<ScriptFactory> Missing(const char* className)
{
    return std::make_unique<MissingNodeFactory>(className);
}

} // namespace

void BuildScriptFactories()
{
    Registry& registry = TheRegistry();
    if (!registry.owned.empty()) {
        return;
    }
    std::unique_ptr<ScriptFactory> factories[] = {
        Missing("dcCreateAIDriver"),
        Missing("dcCreateCamera"),
        Missing("dcCreateCar"),
        Missing("dcCreateHumanDriver"),
        Missing("dcCreatePed"),
        Missing("dcCreateSound"),
        Missing("dcDestroyAIDriver"),
        Missing("dcDestroyEntity"),
        Missing("dcResetTrigger"),
        Made<dcEnableTrigger>(),
        Made<dcDisableTrigger>(),
        Missing("dcCountTrigger"),
        Made<dcDummyTrigger>(),
        Missing("dcKeyTrigger"),
        Missing("dcVolumeTrigger"),
        Missing("dcRandomTrigger"),
        Missing("dcDelayTrigger"),
        Missing("dcTimeTrigger"),
        Missing("dcCreateTextMessage"),
        Missing("dcEndGame"),
        Missing("dcDestroySound"),
        Made<dcStartTrigger>(),
        Missing("dcEnterEvent"),
        Missing("dcLeaveEvent"),
        Missing("dcEntityKilledEvent"),
        Missing("dcCutSceneBars"),
        Missing("dcScreenImage"),
        Made<dcTriggerTarget>(),
        Missing("dcGiveItem"),
        Missing("dcControlItem"),
        Missing("dcHUDLink"),
        Missing("dcShowModel"),
        Missing("dcScriptLink"),
        Made<dcScriptClean>(),
        Missing("dcTimeScalar"),
        Missing("dcHurtEntity"),
        Missing("dcModifyPed"),
        Missing("dcCreateCharacter"),
        Missing("dcModifyCharacter"),
        Missing("dcCompareTrigger"),
        Missing("dcTextNote"),
        Missing("dcSpawnTraffic"),
        Missing("dcSpawnPedestrians"),
        Missing("dcPlayMusic"),
        Made<dcLoadSky>(),
        Missing("dcSpawnBoss"),
        Missing("dcScriptParameter"),
        Missing("dcMPCreateCar"),
        Missing("dcMPScoreMenu"),
        Missing("dcMPAction"),
        Missing("dcEntityCache"),
        Missing("dcCheckpoint"),
        Missing("dcIngredientClass"),
        Missing("dcZeltoClass"),
        Missing("dcIngredientDoneClass"),
        Missing("dcClearZeltoClass"),
        Missing("dcShowZeltoClass"),
        Missing("dcZeltoDestinationClass"),
        Missing("dcAddZeltoPointsClass"),
        Missing("dcZeltoReady"),
        Missing("dcEndZelto"),
    };
    for (std::unique_ptr<ScriptFactory>& factory : factories) {
        registry.list.push_back(factory.get());
        registry.owned.push_back(std::move(factory));
    }
}

const std::vector<ScriptFactory*>& GetScriptFactories()
{
    return TheRegistry().list;
}

void AddScriptFactories(DumpReader& reader)
{
    BuildScriptFactories();
    for (ScriptFactory* factory : GetScriptFactories()) {
        reader.AddFactory(factory);
    }
}
