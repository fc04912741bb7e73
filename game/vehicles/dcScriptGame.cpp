#include "game/vehicles/dcScriptGame.h"

#include "engine/core/Scene.h"
#include "engine/files/ArchiveList.h"
#include "game/world/GameModule.h"

namespace {

// The mission nodes' messages, sent here by identity: their payload records
// belong to the mission scripting.
constexpr int32_t kTriggerMessage = HashClassName("dcTriggerMessage");   // int32 sender id
constexpr int32_t kTriggerDestroy = HashClassName("dcTriggerDestroy");   // one byte, carrying nothing

} // namespace

dcScriptGame::dcScriptGame(const WideString& scriptPath)
    : scriptPath_(scriptPath)
{
}

void dcScriptGame::Start()
{
    Begin();
}

bool dcScriptGame::FireRoots()
{
    const GameModule* game = GameModule::Get();
    Scene* scene = GetScene();
    if ((game && game->IsNetworkClient()) || !scene) {
        return false;
    }
    const int32_t noSender = 0;
    for (int32_t id : std::vector<int32_t>(rootIds_)) {
        if (MessageReceiver* root = scene->FindReceiver(id)) {
            root->HandleMessage(kTriggerMessage, &noSender, static_cast<int32_t>(sizeof noSender), 0);
        }
    }
    return true;
}

void dcScriptGame::LoadScript(const WideString& path)
{
    Scene* scene = GetScene();
    if (!scene) {
        return;
    }
    scene->Broadcast(dcGameReset{dcGameReset::kRestart});
    const uint8_t nothing = 0;
    scene->Broadcast(kTriggerDestroy, &nothing, static_cast<int32_t>(sizeof nothing), 0);
    if (!FileExists(path) || !reader_) {
        return;
    }
    rootIds_.clear();
    reader_(path, *scene, rootIds_);
}
