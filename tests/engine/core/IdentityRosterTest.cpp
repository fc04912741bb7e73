#include "engine/core/ClassIdentity.h"
#include "engine/core/EngineMessages.h"
#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/net/NetMessages.h"
#include "engine/net/ServerMessage.h"
#include "engine/physics/PhysicsMessages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

// Every class and message identity of the game. Identities are written into
// mission files and sent between peers, so two names may never share one and
// a class may carry another's identity only where the list below says so.

namespace {

// Classes and messages that carry the identity of their own name.
const std::vector<const char*> kOwnNames = {
    // front end and lobby
    "dcLoadingMessage", "dcStartMessage", "dcLoadScreen", "dcPlayerMessage", "dcHostMessage", "dcLogin",
    "dcStartLoadMessage", "dcLobbyPingMessage", "dcMPLobby", "dcMPScreen",
    // effects and projectiles
    "dcDetector", "dcEntityDetector", "dcLensFlare", "dcDecalRenderer", "dcCarShadow", "dcFire",
    "dcRockDebris", "dcShell", "dcShellSensor", "dcSkidMarks", "dcViewRay", "dcAirstrike", "dcBullet",
    "dcGrenade", "dcMine", "dcMissile", "dcRocket", "dcTargetSeeker", "dcExplosion", "dcExplosionMaker",
    "dcParticleGroup", "dcParticleGroupImpl", "BloodMaker", "FireMaker", "SmokeMaker", "SparkMaker",
    // mission nodes and their messages
    "dcCompareTrigger", "dcControlItem", "dcCreateAIDriver", "dcCreateCamera", "dcCreateCar",
    "dcCreateCarMessage", "dcCreateCharacter", "dcCreateCharacterAI", "dcCreateHumanDriver", "dcCreatePed",
    "dcCreateSound", "dcGetTriggerSound", "dcCreateTextMessage", "dcCutSceneBars", "dcDestroyAIDriver",
    "dcDestroyEntity", "dcDestroySound", "dcEndGame", "dcEntityKilledEvent", "dcGiveItem", "dcHUDLink",
    "dcHurtEntity", "dcLoadSky", "dcModifyCharacter", "dcModifyPed", "dcNearEvent", "dcPlayerCarTrigger",
    "dcPlayMusic", "dcResetTrigger", "dcScreenImage", "dcScriptClean", "dcScriptLink", "dcShowModel",
    "dcSpawnBoss", "dcSpawnPedestrians", "dcSpawnTraffic", "dcTrafficCarPool", "dcAddCarMessage",
    "dcDelCarMessage", "dcTextNote", "dcTimeScalar", "dcTrigger", "dcTriggerMessage", "dcTriggerReset",
    "dcTriggerEnable", "dcTriggerDisable", "dcTriggerEnabled", "dcTriggerDelay", "dcGetTriggerTarget",
    "dcTriggerOrientation", "dcTriggerRender", "dcTriggerSendOrientation", "dcTriggerDestroy",
    "dcTriggerText", "dcTriggerTarget", "dcCountTrigger", "dcDelayTrigger", "dcDisableTrigger",
    "dcDummyTrigger", "dcEnableTrigger", "dcKeyTrigger", "dcRandomTrigger", "dcStartTrigger",
    "dcTimeTrigger", "dcVolumeTrigger", "dcSerializeLoad", "dcSerializeSave", "dcScriptCountParameter",
    "dcScriptMPCarParameter", "dcScriptParameterImplBase", "dcScriptParameter", "dcScriptTimerParameter",
    "dcMPAction", "dcMPCreateCar", "dcMPScoreMenu", "dcEntityCache", "dcCheckpoint", "dcEntityKilled",
    "dcGetCamera", "dcGetGeometry", "dcAddEntityListener", "dcDelEntityListener", "dcVolumeEnter",
    "dcVolumeLeave", "dcGameReset", "dcMPActionMessage", "dcInitAds",
    // world and world objects
    "dcAmbientSound", "dcDamageMessage", "dcExtDamageMessage", "dcRespawnMessage", "dcTargetMessage",
    "dcDecoObject", "dcTLGroup", "dcWorldGeometry", "dcLightCallback", "dcDropPointRay", "dcWorldObject",
    "dcDynamicObject", "dcWorldRender",
    // players, drivers and game modes
    "dcPlayer", "dcTank", "dcDriver", "dcHumanDriver", "dcAIDriver", "dcGame", "dcScriptGame",
    // characters, cars, weapons, specials, population and visibility
    "dcCharacter", "dcCar", "dcCar::DamageObject", "dcDamageSpark", "dcCarInit", "dcCarInput", "dcCarData",
    "dcCarSetWeapon", "dcEntityCamera", "dcCamOrientation", "dcOrientation", "dcCamMode",
    "dcCamModeOverride", "dcAirStrikeFire", "dcCarAirStrike", "dcFlamerFire", "dcCarFlamer", "dcMineFire",
    "dcCarMine", "dcMiniGunFire", "dcMiniGunData", "dcCarMiniGun", "dcMissileFire", "dcCarMissile",
    "dcRocketFire", "dcCarRocket", "dcCarWeapon", "dcCarWeaponFire", "dcCarCop", "dcCarHorn", "dcCarRock",
    "dcSpecialMessage", "dcCarSpecial", "dcCarSpecialImpl", "dcBonus", "dcChopperBoss", "dcTrafficCarData",
    "dcTrafficCar", "dcAmbientPed", "dcHookerPed", "dcPedScript", "dcScriptPed", "dcSmartPed",
    "dcAnimatedDriver", "dcCollisionCallback", "dcVisTest", "dcOcclusionData", "dcOcclusionRender",
    "dcGetNodeMessage",
    // editor
    "dcEnterEvent", "dcLeaveEvent",
    // delivery-mode nodes
    "dcAddZeltoPointsClass", "dcClearZeltoClass", "dcEndZelto", "dcIngredientClass", "dcIngredientDoneClass",
    "dcBraskBonus", "dcZeltoClass", "dcZeltoDestinationClass", "dcZeltoReady", "dcShowZeltoClass",
    // engine
    "dcServerMessage", "dcConnectMessage", "dcDisconnectMessage", "dcCollisionCull", "dcCollision",
    "dcContact", "dcTriangleContact", "dcPhysicsForce", "dcSceneAdd", "dcSceneDel", "dcUserInput",
    "dcUpdate", "dcFinalUpdate", "dcRender",
};

// Identities kept as plain numbers, without a record.
const std::vector<const char*> kBareNames = {"dcChatMessage", "dcMPCreateCarMessage", "dcVolumeNear", "dcTLData"};

struct BorrowedName {
    const char* record;
    const char* owner;   // the class whose identity the record carries
};

// Traffic-car variants and editor nodes: an editor node saves the runtime node
// it edits, so it carries that node's identity. The checkpoint editor saves a
// checkpoint, which the runtime must read back as one.
const std::vector<BorrowedName> kBorrowedNames = {
    {"dcTrafficCar_C", "dcTrafficCar"},
    {"dcTrafficCar_S", "dcTrafficCar"},
    {"dcEditCreateCharacterAI", "dcCreateCharacterAI"},
    {"dcEditCreateTextMessage", "dcCreateTextMessage"},
    {"dcEditCutSceneBars", "dcCutSceneBars"},
    {"dcEditDestroyAIDriver", "dcDestroyAIDriver"},
    {"dcEditDestroyEntity", "dcDestroyEntity"},
    {"dcEditDestroySound", "dcDestroySound"},
    {"dcEditEndGame", "dcEndGame"},
    {"dcEditHUDLink", "dcHUDLink"},
    {"dcEditHurtEntity", "dcHurtEntity"},
    {"dcEditLoadSky", "dcLoadSky"},
    {"dcEditModCharacter", "dcModifyCharacter"},
    {"dcEditNearEvent", "dcNearEvent"},
    {"dcEditPlayerCarTrigger", "dcPlayerCarTrigger"},
    {"dcEditPlayMusic", "dcPlayMusic"},
    {"dcEditShowModel", "dcShowModel"},
    {"dcEditSpawnPedestrians", "dcSpawnPedestrians"},
    {"dcEditSpawnTraffic", "dcSpawnTraffic"},
    {"dcEditTextNote", "dcTextNote"},
    {"dcEditTimeTrigger", "dcTimeTrigger"},
    {"dcEditCountTrigger", "dcCountTrigger"},
    {"dcEditResetTrigger", "dcResetTrigger"},
    {"dcEditKeyTrigger", "dcKeyTrigger"},
    {"dcEditVolumeTrigger", "dcVolumeTrigger"},
    {"dcEditDummyTrigger", "dcDummyTrigger"},
    {"dcEditCreateCarTrigger", "dcCreateCar"},
    {"dcEditCreateAIDriverTrigger", "dcCreateAIDriver"},
    {"dcEditCreateCameraTrigger", "dcCreateCamera"},
    {"dcEditCreateDriverTrigger", "dcCreateHumanDriver"},
    {"dcEditRandomTrigger", "dcRandomTrigger"},
    {"dcEditDisableTrigger", "dcDisableTrigger"},
    {"dcEditEnableTrigger", "dcEnableTrigger"},
    {"dcEditDelayTrigger", "dcDelayTrigger"},
    {"dcEditCreateSound", "dcCreateSound"},
    {"dcEditEnterEvent", "dcEnterEvent"},
    {"dcEditLeaveEvent", "dcLeaveEvent"},
    {"dcEditCreatePed", "dcCreatePed"},
    {"dcEditModifyPed", "dcModifyPed"},
    {"dcEditScreenImage", "dcScreenImage"},
    {"dcEditTriggerTarget", "dcTriggerTarget"},
    {"dcEditScriptClean", "dcScriptClean"},
    {"dcEditTimeScalar", "dcTimeScalar"},
    {"dcEditScriptLink", "dcScriptLink"},
    {"dcEditControlItem", "dcControlItem"},
    {"dcEditGiveItem", "dcGiveItem"},
    {"dcEditEntityKilledEvent", "dcEntityKilledEvent"},
    {"dcEditCompareTrigger", "dcCompareTrigger"},
    {"dcEditCreateCharacter", "dcCreateCharacter"},
    {"dcEditMission", "dcStartTrigger"},
    {"dcEditScriptParameter", "dcScriptParameter"},
    {"dcEditMPCreateCar", "dcMPCreateCar"},
    {"dcEditMPScoreMenu", "dcMPScoreMenu"},
    {"dcEditEntityCache", "dcEntityCache"},
    {"dcEditMPAction", "dcMPAction"},
    {"dcEditCheckpoint", "dcCheckpoint"},
    {"dcEditSpawnBoss", "dcSpawnBoss"},
    {"dcEditAddZeltoPoints", "dcAddZeltoPointsClass"},
    {"dcEditClearZelto", "dcClearZeltoClass"},
    {"dcEditEndZelto", "dcEndZelto"},
    {"dcEditIngredient", "dcIngredientClass"},
    {"dcEditIngredientDone", "dcIngredientDoneClass"},
    {"dcEditZelto", "dcZeltoClass"},
    {"dcEditZeltoDestination", "dcZeltoDestinationClass"},
    {"dcEditZeltoReady", "dcZeltoReady"},
    {"dcEditShowZelto", "dcShowZeltoClass"},
};

// A message and a variant that borrows its identity.
struct dcTrafficCar {
    DC_MESSAGE(dcTrafficCar)
    int32_t lane;
};

struct dcTrafficCar_S {
    DC_BORROWED_IDENTITY(dcTrafficCar_S, dcTrafficCar)
    int32_t lane;
};

class TrafficListener : public MessageReceiver {
    DC_RECEIVER(TrafficListener, MessageReceiver)
public:
    TrafficListener() { Handles<dcTrafficCar, &TrafficListener::OnTrafficCar>(); }
    int32_t lastLane = -1;

private:
    void OnTrafficCar(const dcTrafficCar& message) { lastLane = message.lane; }
};

// A runtime node and the editor node that saves it.
class dcStartTrigger : public MessageReceiver {
    DC_RECEIVER(dcStartTrigger, MessageReceiver)
};

class dcEditMission : public dcStartTrigger {
    DC_BORROWING_RECEIVER(dcEditMission, dcStartTrigger, dcStartTrigger)
};

} // namespace

TEST(BorrowedIdentity, LookupsByIdentityTakeTheRecordForItsOwner)
{
    TrafficListener listener;
    const dcTrafficCar_S variant{3};
    EXPECT_TRUE(listener.HandlesMessage(dcTrafficCar_S::Identity().Id()));
    EXPECT_EQ(listener.HandleMessage(dcTrafficCar_S::Identity().Id(), &variant, sizeof variant, 0), 1);
    EXPECT_EQ(listener.lastLane, 3);
    EXPECT_EQ(dcTrafficCar_S::Identity().Name(), L"dcTrafficCar_S");
}

TEST(BorrowedIdentity, AnEditorNodeReportsItsOwnNameAndTheRuntimeIdentity)
{
    dcEditMission node;
    const MessageReceiver& receiver = node;
    EXPECT_EQ(receiver.GetClassName(), L"dcEditMission");
    EXPECT_EQ(receiver.GetClassID(), dcStartTrigger::Identity().Id());
    EXPECT_EQ(receiver.GetClassID(), HashClassName("dcStartTrigger"));
}

TEST(IdentityRoster, EveryHashedNameHasItsOwnPositiveIdentity)
{
    std::map<int32_t, std::string> owners;
    std::vector<const char*> hashed = kOwnNames;
    hashed.insert(hashed.end(), kBareNames.begin(), kBareNames.end());
    for (const char* name : hashed) {
        const int32_t identity = HashClassName(name);
        EXPECT_GT(identity, 0) << name;
        const auto [entry, added] = owners.emplace(identity, name);
        EXPECT_TRUE(added) << name << " has the identity of " << entry->second;
    }
}

TEST(IdentityRoster, RecordNamesAreUniqueAndBorrowOnlyFromOwnRecords)
{
    const std::set<std::string> ownNames(kOwnNames.begin(), kOwnNames.end());
    EXPECT_EQ(ownNames.size(), kOwnNames.size());
    std::set<std::string> recordNames = ownNames;
    for (const BorrowedName& borrowed : kBorrowedNames) {
        EXPECT_TRUE(recordNames.insert(borrowed.record).second) << borrowed.record;
        EXPECT_TRUE(ownNames.count(borrowed.owner)) << borrowed.record << " borrows from " << borrowed.owner;
    }
}

TEST(IdentityRoster, TheEngineRecordsCarryTheirOwnNames)
{
    struct Case {
        const ClassIdentity& record;
        const char* name;
    };
    for (const Case& c : std::initializer_list<Case>{
             {dcServerMessage::Identity(), "dcServerMessage"},
             {dcConnectMessage::Identity(), "dcConnectMessage"},
             {dcDisconnectMessage::Identity(), "dcDisconnectMessage"},
             {dcCollisionCull::Identity(), "dcCollisionCull"},
             {dcCollision::Identity(), "dcCollision"},
             {dcContact::Identity(), "dcContact"},
             {dcTriangleContact::Identity(), "dcTriangleContact"},
             {dcPhysicsForce::Identity(), "dcPhysicsForce"},
             {dcSceneAdd::Identity(), "dcSceneAdd"},
             {dcSceneDel::Identity(), "dcSceneDel"},
             {dcUserInput::Identity(), "dcUserInput"},
             {dcUpdate::Identity(), "dcUpdate"},
             {dcFinalUpdate::Identity(), "dcFinalUpdate"},
             {dcRender::Identity(), "dcRender"}}) {
        EXPECT_EQ(c.record.Name(), WideStringFromChars(c.name, -1));
        EXPECT_EQ(c.record.Id(), HashClassName(c.name)) << c.name;
        EXPECT_NE(std::find(kOwnNames.begin(), kOwnNames.end(), std::string(c.name)), kOwnNames.end()) << c.name;
    }
}
