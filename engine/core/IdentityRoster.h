#pragma once
// The class-identity roster: every name whose identity the game's classes,
// messages and stored files use, and whose identity each record carries.
// Identities are written into mission files and sent between peers, so a
// record carries another's identity only where this roster lends it: an
// editor node carries the identity of the runtime node it saves, so that the
// runtime reads the saved node back as its own, and the traffic-car variants
// are taken for the traffic car. Every identity record is checked against
// the roster as it is compiled (DC_BORROWED_IDENTITY).

#include <iterator>
#include <string_view>

// Records that carry the identity of their own name, group by group.
inline constexpr std::string_view kOwnNameRecords[] = {
    // front end and lobby
    "dcLoadingMessage", "dcStartMessage", "dcLoadScreen", "dcPlayerMessage", "dcHostMessage", "dcLogin",
    "dcStartLoadMessage", "dcLobbyPingMessage", "dcMPLobby", "dcMPScreen",
    // effects and projectiles
    "dcDetector", "dcEntityDetector", "dcLensFlare", "dcDecalRenderer", "dcCarShadow", "dcFire", "dcRockDebris",
    "dcShell", "dcShellSensor", "dcSkidMarks", "dcViewRay", "dcAirstrike", "dcBullet", "dcGrenade", "dcMine",
    "dcMissile", "dcRocket", "dcTargetSeeker", "dcExplosion", "dcExplosionMaker", "dcParticleGroup",
    "dcParticleGroupImpl", "BloodMaker", "FireMaker", "SmokeMaker", "SparkMaker",
    // mission nodes and their messages
    "dcCompareTrigger", "dcControlItem", "dcCreateAIDriver", "dcCreateCamera", "dcCreateCar", "dcCreateCarMessage",
    "dcCreateCharacter", "dcCreateCharacterAI", "dcCreateHumanDriver", "dcCreatePed", "dcCreateSound",
    "dcGetTriggerSound", "dcCreateTextMessage", "dcCutSceneBars", "dcDestroyAIDriver", "dcDestroyEntity",
    "dcDestroySound", "dcEndGame", "dcEntityKilledEvent", "dcGiveItem", "dcHUDLink", "dcHurtEntity", "dcLoadSky",
    "dcModifyCharacter", "dcModifyPed", "dcNearEvent", "dcPlayerCarTrigger", "dcPlayMusic", "dcResetTrigger",
    "dcScreenImage", "dcScriptClean", "dcScriptLink", "dcShowModel", "dcSpawnBoss", "dcSpawnPedestrians",
    "dcSpawnTraffic", "dcTrafficCarPool", "dcAddCarMessage", "dcDelCarMessage", "dcTextNote", "dcTimeScalar",
    "dcTrigger", "dcTriggerMessage", "dcTriggerReset", "dcTriggerEnable", "dcTriggerDisable", "dcTriggerEnabled",
    "dcTriggerDelay", "dcGetTriggerTarget", "dcTriggerOrientation", "dcTriggerRender", "dcTriggerSendOrientation",
    "dcTriggerDestroy", "dcTriggerText", "dcTriggerTarget", "dcCountTrigger", "dcDelayTrigger", "dcDisableTrigger",
    "dcDummyTrigger", "dcEnableTrigger", "dcKeyTrigger", "dcRandomTrigger", "dcStartTrigger", "dcTimeTrigger",
    "dcVolumeTrigger", "dcSerializeLoad", "dcSerializeSave", "dcScriptCountParameter", "dcScriptMPCarParameter",
    "dcScriptParameterImplBase", "dcScriptParameter", "dcScriptTimerParameter", "dcMPAction", "dcMPCreateCar",
    "dcMPScoreMenu", "dcEntityCache", "dcCheckpoint", "dcEntityKilled", "dcGetCamera", "dcGetGeometry",
    "dcAddEntityListener", "dcDelEntityListener", "dcVolumeEnter", "dcVolumeLeave", "dcGameReset",
    "dcMPActionMessage", "dcInitAds",
    // world and world objects
    "dcAmbientSound", "dcDamageMessage", "dcExtDamageMessage", "dcRespawnMessage", "dcTargetMessage",
    "dcDecoObject", "dcTLGroup", "dcWorldGeometry", "dcLightCallback", "dcDropPointRay", "dcWorldObject",
    "dcDynamicObject", "dcWorldRender",
    // players, drivers and game modes
    "dcPlayer", "dcTank", "dcDriver", "dcHumanDriver", "dcAIDriver", "dcGame", "dcScriptGame",
    // characters, cars, weapons, specials, population and visibility
    "dcCharacter", "dcCar", "dcCar::DamageObject", "dcDamageSpark", "dcCarInit", "dcCarInput", "dcCarData",
    "dcCarSetWeapon", "dcEntityCamera", "dcCamOrientation", "dcOrientation", "dcCamMode", "dcCamModeOverride",
    "dcAirStrikeFire", "dcCarAirStrike", "dcFlamerFire", "dcCarFlamer", "dcMineFire", "dcCarMine", "dcMiniGunFire",
    "dcMiniGunData", "dcCarMiniGun", "dcMissileFire", "dcCarMissile", "dcRocketFire", "dcCarRocket", "dcCarWeapon",
    "dcCarWeaponFire", "dcCarCop", "dcCarHorn", "dcCarRock", "dcSpecialMessage", "dcCarSpecial", "dcCarSpecialImpl",
    "dcBonus", "dcChopperBoss", "dcTrafficCarData", "dcTrafficCar", "dcAmbientPed", "dcHookerPed", "dcPedScript",
    "dcScriptPed", "dcSmartPed", "dcAnimatedDriver", "dcCollisionCallback", "dcVisTest", "dcOcclusionData",
    "dcOcclusionRender", "dcGetNodeMessage",
    // editor
    "dcEnterEvent", "dcLeaveEvent",
    // delivery-mode nodes
    "dcAddZeltoPointsClass", "dcClearZeltoClass", "dcEndZelto", "dcIngredientClass", "dcIngredientDoneClass",
    "dcBraskBonus", "dcZeltoClass", "dcZeltoDestinationClass", "dcZeltoReady", "dcShowZeltoClass",
    // engine
    "dcServerMessage", "dcConnectMessage", "dcDisconnectMessage", "dcCollisionCull", "dcCollision", "dcContact",
    "dcTriangleContact", "dcPhysicsForce", "dcSceneAdd", "dcSceneDel", "dcUserInput", "dcUpdate", "dcFinalUpdate",
    "dcRender",
};
static_assert(std::size(kOwnNameRecords) == 218);

struct BorrowedIdentity {
    std::string_view record;
    std::string_view owner;   // the name whose identity the record carries
};

// The traffic-car variants, then the editor nodes with the runtime nodes they
// save. The checkpoint editor saves a checkpoint, which the runtime must read
// back as one.
inline constexpr BorrowedIdentity kBorrowedIdentities[] = {
    {"dcTrafficCar_C", "dcTrafficCar"}, {"dcTrafficCar_S", "dcTrafficCar"},
    {"dcEditCreateCharacterAI", "dcCreateCharacterAI"}, {"dcEditCreateTextMessage", "dcCreateTextMessage"},
    {"dcEditCutSceneBars", "dcCutSceneBars"}, {"dcEditDestroyAIDriver", "dcDestroyAIDriver"},
    {"dcEditDestroyEntity", "dcDestroyEntity"}, {"dcEditDestroySound", "dcDestroySound"},
    {"dcEditEndGame", "dcEndGame"}, {"dcEditHUDLink", "dcHUDLink"}, {"dcEditHurtEntity", "dcHurtEntity"},
    {"dcEditLoadSky", "dcLoadSky"}, {"dcEditModCharacter", "dcModifyCharacter"}, {"dcEditNearEvent", "dcNearEvent"},
    {"dcEditPlayerCarTrigger", "dcPlayerCarTrigger"}, {"dcEditPlayMusic", "dcPlayMusic"},
    {"dcEditShowModel", "dcShowModel"}, {"dcEditSpawnPedestrians", "dcSpawnPedestrians"},
    {"dcEditSpawnTraffic", "dcSpawnTraffic"}, {"dcEditTextNote", "dcTextNote"},
    {"dcEditTimeTrigger", "dcTimeTrigger"}, {"dcEditCountTrigger", "dcCountTrigger"},
    {"dcEditResetTrigger", "dcResetTrigger"}, {"dcEditKeyTrigger", "dcKeyTrigger"},
    {"dcEditVolumeTrigger", "dcVolumeTrigger"}, {"dcEditDummyTrigger", "dcDummyTrigger"},
    {"dcEditCreateCarTrigger", "dcCreateCar"}, {"dcEditCreateAIDriverTrigger", "dcCreateAIDriver"},
    {"dcEditCreateCameraTrigger", "dcCreateCamera"}, {"dcEditCreateDriverTrigger", "dcCreateHumanDriver"},
    {"dcEditRandomTrigger", "dcRandomTrigger"}, {"dcEditDisableTrigger", "dcDisableTrigger"},
    {"dcEditEnableTrigger", "dcEnableTrigger"}, {"dcEditDelayTrigger", "dcDelayTrigger"},
    {"dcEditCreateSound", "dcCreateSound"}, {"dcEditEnterEvent", "dcEnterEvent"},
    {"dcEditLeaveEvent", "dcLeaveEvent"}, {"dcEditCreatePed", "dcCreatePed"}, {"dcEditModifyPed", "dcModifyPed"},
    {"dcEditScreenImage", "dcScreenImage"}, {"dcEditTriggerTarget", "dcTriggerTarget"},
    {"dcEditScriptClean", "dcScriptClean"}, {"dcEditTimeScalar", "dcTimeScalar"},
    {"dcEditScriptLink", "dcScriptLink"}, {"dcEditControlItem", "dcControlItem"}, {"dcEditGiveItem", "dcGiveItem"},
    {"dcEditEntityKilledEvent", "dcEntityKilledEvent"}, {"dcEditCompareTrigger", "dcCompareTrigger"},
    {"dcEditCreateCharacter", "dcCreateCharacter"}, {"dcEditMission", "dcStartTrigger"},
    {"dcEditScriptParameter", "dcScriptParameter"}, {"dcEditMPCreateCar", "dcMPCreateCar"},
    {"dcEditMPScoreMenu", "dcMPScoreMenu"}, {"dcEditEntityCache", "dcEntityCache"},
    {"dcEditMPAction", "dcMPAction"}, {"dcEditCheckpoint", "dcCheckpoint"}, {"dcEditSpawnBoss", "dcSpawnBoss"},
    {"dcEditAddZeltoPoints", "dcAddZeltoPointsClass"}, {"dcEditClearZelto", "dcClearZeltoClass"},
    {"dcEditEndZelto", "dcEndZelto"}, {"dcEditIngredient", "dcIngredientClass"},
    {"dcEditIngredientDone", "dcIngredientDoneClass"}, {"dcEditZelto", "dcZeltoClass"},
    {"dcEditZeltoDestination", "dcZeltoDestinationClass"}, {"dcEditZeltoReady", "dcZeltoReady"},
    {"dcEditShowZelto", "dcShowZeltoClass"},
};
static_assert(std::size(kBorrowedIdentities) == 66);

// Identities kept as plain numbers, without a record: the lobby's chat line,
// a multiplayer car-creation message, the volume-proximity message, and
// traffic-light state.
inline constexpr std::string_view kBareIdentities[] = {"dcChatMessage", "dcMPCreateCarMessage", "dcVolumeNear",
                                                      "dcTLData"};

// The name whose identity a record of this name must carry: the owner the
// roster lends it, else its own. Classes outside the roster (the tests' own)
// carry their own.
constexpr std::string_view RosterIdentityOf(std::string_view record)
{
    for (const BorrowedIdentity& borrowed : kBorrowedIdentities) {
        if (borrowed.record == record) {
            return borrowed.owner;
        }
    }
    return record;
}
