#include "script/dcTrigger.h"

#include "engine/core/LogHub.h"
#include "engine/net/HostScene.h"
#include "script/DumpFormat.h"
#include "script/DumpReader.h"
#include "script/DumpWriter.h"
#include "script/ScriptGameHooks.h"

namespace {

// Firings nested inside one another, and whether a loop stopped them; the
// stop holds until the outermost firing is over, so a loop that branches
// cannot go on by other ways.
int32_t firingDepth = 0;
bool firingStopped = false;

bool IsNetworkClient()
{
    ScriptGameHooks* hooks = GetScriptGameHooks();
    return hooks && hooks->IsNetworkClient();
}

bool AnswersDelay(MessageReceiver& target)
{
    return target.Send(dcTriggerDelay{}) != 0;
}

} // namespace

dcTrigger::dcTrigger()
{
    Handles<dcTriggerDestroy, &dcTrigger::Destroy>();
    Handles<dcTriggerEnable, &dcTrigger::Enable>();
    Handles<dcTriggerDisable, &dcTrigger::Disable>();
    Handles<dcTriggerEnabled, &dcTrigger::AnswerEnabled>();
    Handles<dcSerializeLoad, &dcTrigger::OnSerializeLoad>();
    Handles<dcSerializeSave, &dcTrigger::OnSerializeSave>();
}

void dcTrigger::FireTargets(Scene* scene, int32_t senderId, const std::vector<int32_t>& ids)
{
    if (!scene || IsNetworkClient() || firingStopped) {
        return;
    }
    if (firingDepth >= kMaxFiringDepth) {
        LogHub::PrintError("Mission nodes fire each other more than %d deep: the firing stops", kMaxFiringDepth);
        firingStopped = true;
        return;
    }
    ++firingDepth;
    {
        ScopedSceneDispatch dispatch(*scene);
        const dcTriggerMessage message{senderId};
        // The list is read afresh at each step: a handler may change it.
        for (bool delayed : {false, true}) {
            for (size_t i = 0; i < ids.size() && !firingStopped; ++i) {
                MessageReceiver* target = scene->FindReceiver(ids[i]);
                if (target && AnswersDelay(*target) == delayed) {
                    target->Send(message);
                }
            }
        }
    }
    if (--firingDepth == 0) {
        firingStopped = false;
    }
}

void dcTrigger::ReplicateTrigger(int32_t nodeId, int32_t senderId)
{
    ScriptGameHooks* hooks = GetScriptGameHooks();
    if (HostScene* router = hooks ? hooks->GetHostRouter() : nullptr) {
        router->Send(nodeId, dcTriggerMessage{senderId}, 0);
    }
}

void dcTrigger::Save(DumpWriter& out)
{
    out.WriteInt32(editorRect_.left);
    out.WriteInt32(editorRect_.top);
    out.WriteInt32(editorRect_.right);
    out.WriteInt32(editorRect_.bottom);
    out.WriteInt32(static_cast<int32_t>(targetIds_.size()));
    for (int32_t id : targetIds_) {
        out.WriteObjectRef(id);
    }
}

void dcTrigger::Load(DumpReader& in)
{
    editorRect_.left = in.ReadInt32();
    editorRect_.top = in.ReadInt32();
    editorRect_.right = in.ReadInt32();
    editorRect_.bottom = in.ReadInt32();
    targetIds_.assign(in.ReadCount(dump_format::kReferenceBytes), 0);
    for (int32_t& id : targetIds_) {
        in.ReadObjectRef(id);
    }
}

void dcTrigger::Destroy(const dcTriggerDestroy&)
{
    Release();
}

void dcTrigger::Enable(const dcTriggerEnable&)
{
    enabled_ = 1;
}

void dcTrigger::Disable(const dcTriggerDisable&)
{
    enabled_ = 0;
}

void dcTrigger::AnswerEnabled(const dcTriggerEnabled& message)
{
    message.enabled = enabled_;
}

void dcTrigger::PassOn(const dcTriggerMessage& message)
{
    if (IsEnabled()) {
        FireOwnTargetsAs(message.sender);
    }
}
