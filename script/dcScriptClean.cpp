#include "script/dcScriptClean.h"

#include "game/world/GameMessages.h"
#include "script/DumpReader.h"
#include "script/DumpWriter.h"

#include <algorithm>

dcScriptClean::dcScriptClean()
{
    Handles<dcTriggerMessage, &dcScriptClean::OnTrigger>();
}

void dcScriptClean::Save(DumpWriter& out)
{
    out.WriteByte(CleanWorld);
    out.WriteByte(CleanScript);
    dcTrigger::Save(out);
}

void dcScriptClean::Load(DumpReader& in)
{
    CleanWorld = in.ReadByte();
    CleanScript = in.ReadByte();
    dcTrigger::Load(in);
}

// The nodes that go leave the scene's id map at once but are deleted only
// after the whole clean-up, so the list stays valid meanwhile. Targets run
// after the rest of the mission has gone: a link target then loads the next
// mission into a scene free of the old one, and its new nodes are not listed.
void dcScriptClean::OnTrigger(const dcTriggerMessage& message)
{
    Scene* scene = GetScene();
    if (!IsEnabled() || !scene) {
        return;
    }
    ReplicateTrigger(GetId(), message.sender);
    if (CleanWorld) {
        scene->Broadcast(dcGameReset{dcGameReset::kRestart});
    }
    std::vector<MessageReceiver*> nodes;
    if (CleanScript) {
        scene->CollectHandlers(dcTriggerDestroy::Identity().Id(), nodes);
    }
    ScopedSceneDispatch dispatch(*scene);
    DestroyNodes(nodes, false);
    FireOwnTargets();
    DestroyNodes(nodes, true);
    if (CleanScript) {
        Send(dcTriggerDestroy{});
    }
}

bool dcScriptClean::IsTarget(const MessageReceiver* node) const
{
    const std::vector<int32_t>& targets = GetTargetIds();
    return std::find(targets.begin(), targets.end(), node->GetId()) != targets.end();
}

void dcScriptClean::DestroyNodes(const std::vector<MessageReceiver*>& nodes, bool targets)
{
    for (MessageReceiver* node : nodes) {
        if (node != this && IsTarget(node) == targets) {
            node->Send(dcTriggerDestroy{});
        }
    }
}
