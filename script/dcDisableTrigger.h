#pragma once
// Switches the nodes it links to off: fired, they do nothing until enabled
// again. Its targets are not fired.

#include "script/dcTrigger.h"

class dcDisableTrigger : public dcTrigger {
    DC_RECEIVER(dcDisableTrigger, dcTrigger)
public:
    dcDisableTrigger();

protected:
    virtual void OnTrigger(const dcTriggerMessage& message);
};
// handlers: dcTriggerMessage -> OnTrigger
