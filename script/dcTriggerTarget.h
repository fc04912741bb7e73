#pragma once
// A point with a facing in the world that other nodes take as a spawn pose
// or a goal. With a subject (an entity or a node it is attached to) the
// stored pose is in the subject's frame. Fired, it passes control on like a
// pass-through node.

#include "game/weapons/TargetMessage.h"
#include "game/world/GameMessages.h"
#include "script/dcTrigger.h"

#include <cstdint>

class dcTriggerTarget : public dcTrigger {
    DC_RECEIVER(dcTriggerTarget, dcTrigger)
public:
    // The editor revision from which the orientation is stored.
    static constexpr int32_t kOrientationRevision = 15;

    dcTriggerTarget();

    void Save(DumpWriter& out) override;
    void Load(DumpReader& in) override;

    Vec3 Position;             // world units
    Quaternion Orientation;
    int32_t SubjectId = 0;

protected:
    virtual void OnTrigger(const dcTriggerMessage& message) { PassOn(message); }
    virtual void OnGetTriggerTarget(const dcGetTriggerTarget& message);
    virtual void OnTriggerOrientation(const dcTriggerOrientation& message);
    virtual void OnTriggerRender(const dcTriggerRender& message);
    virtual void OnOrientation(const dcOrientation& message);
    virtual void OnTargetMessage(const dcTargetMessage& message);

private:
    // Hands the query to the subject; false when there is none or it did not
    // answer. Subjects that lead back to this node are not asked again.
    template <class Msg>
    bool AskSubject(const Msg& query);

    bool askingSubject_ = false;
};
// handlers: dcTriggerMessage -> OnTrigger, dcGetTriggerTarget -> OnGetTriggerTarget,
// dcTriggerOrientation -> OnTriggerOrientation, dcTriggerRender -> OnTriggerRender,
// dcOrientation -> OnOrientation, dcTargetMessage -> OnTargetMessage
