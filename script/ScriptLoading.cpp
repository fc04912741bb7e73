#include "script/ScriptLoading.h"

#include "engine/core/Scene.h"
#include "engine/files/ArchiveList.h"
#include "script/DumpReader.h"
#include "script/ScopedSceneDispatch.h"
#include "script/ScriptFactories.h"
#include "script/ScriptGameHooks.h"
#include "script/dcStartTrigger.h"

bool ReadScriptDump(Scene& scene, const WideString& path, std::vector<int32_t>& rootIds, bool fullLoad)
{
    DumpReader reader;
    reader.SetScene(&scene);
    AddScriptFactories(reader);
    return reader.ReadDump(path, rootIds, fullLoad);
}

std::vector<int32_t> LoadScriptRoots(Scene& scene, const WideString& path)
{
    std::vector<int32_t> rootIds;
    BuildScriptFactories();
    if (FileExists(path)) {
        ReadScriptDump(scene, path, rootIds, false);
    }
    return rootIds;
}

void LoadScriptFile(Scene& scene, const WideString& path)
{
    BuildScriptFactories();
    std::vector<int32_t> rootIds;
    if (!FileExists(path) || !ReadScriptDump(scene, path, rootIds, true)) {
        return;
    }
    ScriptGameHooks* hooks = GetScriptGameHooks();
    // A root the roots before it destroyed is no longer there when its turn comes.
    ScopedSceneDispatch dispatch(scene);
    for (int32_t id : rootIds) {
        MessageReceiver* root = scene.FindReceiver(id);
        if (!root) {
            continue;
        }
        const auto* start = dynamic_cast<const dcStartTrigger*>(root);
        if (hooks && start && start->AllowStart) {
            hooks->RecordReachedScript(path);
        }
        root->Send(dcTriggerMessage{0});
    }
}

void ReadScript(const WideString& path, Scene& scene, std::vector<int32_t>& rootIds)
{
    std::vector<int32_t> read;
    if (ReadScriptDump(scene, path, read, true)) {
        rootIds.insert(rootIds.end(), read.begin(), read.end());
    }
}
