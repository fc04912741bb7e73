#include "script/dcDisableTrigger.h"

dcDisableTrigger::dcDisableTrigger()
{
    Handles<dcTriggerMessage, &dcDisableTrigger::OnTrigger>();
}

void dcDisableTrigger::OnTrigger(const dcTriggerMessage& message)
{
    if (!IsEnabled()) {
        return;
    }
    ReplicateTrigger(GetId(), message.sender);
    SendToTargets(dcTriggerDisable{});
}
