#pragma once
// The base of the mission nodes. A mission is a graph of nodes living in the
// game's scene; a node passes control along its links by sending
// dcTriggerMessage to the node ids it links to ("targets"), resolved in the
// scene at each use. Every node keeps its place on the editor's canvas, an
// enabled flag and its targets, and answers the six requests below.
//
// In a network game only the host fires: a node with an effect of its own
// first replicates its firing to the clients, which replay it on their copy
// of the mission.

#include "engine/core/MessageReceiver.h"
#include "engine/core/Scene.h"
#include "script/ScopedSceneDispatch.h"
#include "script/TriggerMessages.h"

#include <cstdint>
#include <vector>

class DumpReader;
class DumpWriter;

// The node's rectangle on the editor's canvas, in canvas units. Only carried
// through the dump, so that a mission opened in the editor keeps its layout.
struct EditorRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

class dcTrigger : public MessageReceiver {
    DC_RECEIVER(dcTrigger, MessageReceiver)
public:
    // Nested firings beyond this are a loop of nodes firing each other.
    static constexpr int32_t kMaxFiringDepth = 256;

    dcTrigger();

    // Fires the listed nodes with the sender: first those that do not handle
    // dcTriggerDelay, in list order, then those that do. Ids of 0 or of
    // nothing in the scene are skipped. A network client never fires.
    static void FireTargets(Scene* scene, int32_t senderId, const std::vector<int32_t>& ids);
    // On the host of a network game: the clients fire their copy of the node.
    static void ReplicateTrigger(int32_t nodeId, int32_t senderId);

    void FireTargetList(const std::vector<int32_t>& ids) { FireTargets(GetScene(), GetId(), ids); }
    void FireOwnTargets() { FireTargets(GetScene(), GetId(), targetIds_); }
    // Passes on the sender the node itself was fired by.
    void FireOwnTargetsAs(int32_t senderId) { FireTargets(GetScene(), senderId, targetIds_); }

    bool IsEnabled() const { return enabled_ != 0; }
    const EditorRect& GetEditorRect() const { return editorRect_; }
    void SetEditorRect(const EditorRect& rect) { editorRect_ = rect; }
    std::vector<int32_t>& GetTargetIds() { return targetIds_; }
    const std::vector<int32_t>& GetTargetIds() const { return targetIds_; }

    // A class with settings of its own writes or reads them first, then
    // calls these for the part every node stores.
    virtual void Save(DumpWriter& out);
    virtual void Load(DumpReader& in);

protected:
    virtual void Destroy(const dcTriggerDestroy& message);
    virtual void Enable(const dcTriggerEnable& message);
    virtual void Disable(const dcTriggerDisable& message);
    virtual void AnswerEnabled(const dcTriggerEnabled& message);

    // The message to every target in the scene, enabled or not.
    template <class Msg>
    void SendToTargets(const Msg& message);
    // The firing of a node that only passes control on: while enabled, fire
    // the targets with the received sender; no replication.
    void PassOn(const dcTriggerMessage& message);

private:
    void OnSerializeSave(const dcSerializeSave& message) { Save(*message.writer); }
    void OnSerializeLoad(const dcSerializeLoad& message) { Load(*message.reader); }

    EditorRect editorRect_;
    uint8_t enabled_ = 1;
    std::vector<int32_t> targetIds_;
};
// handlers: dcTriggerDestroy -> Destroy, dcTriggerEnable -> Enable,
// dcTriggerDisable -> Disable, dcTriggerEnabled -> AnswerEnabled,
// dcSerializeLoad -> Load, dcSerializeSave -> Save

template <class Msg>
void dcTrigger::SendToTargets(const Msg& message)
{
    Scene* scene = GetScene();
    if (!scene) {
        return;
    }
    ScopedSceneDispatch dispatch(*scene);
    for (size_t i = 0; i < targetIds_.size(); ++i) {
        if (MessageReceiver* target = scene->FindReceiver(targetIds_[i])) {
            target->Send(message);
        }
    }
}
