#include "script/dcEnableTrigger.h"

dcEnableTrigger::dcEnableTrigger()
{
    Handles<dcTriggerMessage, &dcEnableTrigger::OnTrigger>();
}

void dcEnableTrigger::OnTrigger(const dcTriggerMessage& message)
{
    if (!IsEnabled()) {
        return;
    }
    ReplicateTrigger(GetId(), message.sender);
    SendToTargets(dcTriggerEnable{});
}
