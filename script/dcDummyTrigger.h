#pragma once
// A pass-through: fired while enabled, it fires its targets with the sender
// it was fired by. It passes resets on to its targets, enabled or not.

#include "script/dcTrigger.h"

class dcDummyTrigger : public dcTrigger {
    DC_RECEIVER(dcDummyTrigger, dcTrigger)
public:
    dcDummyTrigger();

protected:
    virtual void OnReset(const dcTriggerReset& message);
    virtual void OnTrigger(const dcTriggerMessage& message) { PassOn(message); }

private:
    // Set while the reset goes on, so a loop of nodes passes it round once.
    bool passingReset_ = false;
};
// handlers: dcTriggerReset -> OnReset, dcTriggerMessage -> OnTrigger
