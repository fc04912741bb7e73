#pragma once
// Ends the running mission: resets the world, destroys every mission node of
// the scene but itself and its targets, fires its targets (usually a link
// that loads the next mission), then lets the targets and itself go.

#include "script/dcTrigger.h"

#include <cstdint>
#include <vector>

class dcScriptClean : public dcTrigger {
    DC_RECEIVER(dcScriptClean, dcTrigger)
public:
    dcScriptClean();

    void Save(DumpWriter& out) override;
    void Load(DumpReader& in) override;

    uint8_t CleanWorld = 1;    // reset the world: dcGameReset to the scene
    uint8_t CleanScript = 1;   // destroy the mission's nodes

protected:
    virtual void OnTrigger(const dcTriggerMessage& message);

private:
    bool IsTarget(const MessageReceiver* node) const;
    // dcTriggerDestroy to each node of the list that is a target or not.
    void DestroyNodes(const std::vector<MessageReceiver*>& nodes, bool targets);
};
// handlers: dcTriggerMessage -> OnTrigger
