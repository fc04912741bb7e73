#pragma once
// Switches the nodes it links to on: they fire again when fired. Its targets
// are not fired. Nodes outside the node base (the volume trigger) do not
// answer the switch.

#include "script/dcTrigger.h"

class dcEnableTrigger : public dcTrigger {
    DC_RECEIVER(dcEnableTrigger, dcTrigger)
public:
    dcEnableTrigger();

protected:
    virtual void OnTrigger(const dcTriggerMessage& message);
};
// handlers: dcTriggerMessage -> OnTrigger
