#include "script/dcDummyTrigger.h"

dcDummyTrigger::dcDummyTrigger()
{
    Handles<dcTriggerReset, &dcDummyTrigger::OnReset>();
    Handles<dcTriggerMessage, &dcDummyTrigger::OnTrigger>();
}

void dcDummyTrigger::OnReset(const dcTriggerReset& message)
{
    Scene* scene = GetScene();
    if (passingReset_ || !scene) {
        return;
    }
    ScopedSceneDispatch dispatch(*scene);
    passingReset_ = true;
    SendToTargets(message);
    passingReset_ = false;
}
