#pragma once
// A car's special device: the police light bar with its siren, or the horn.
// A member of the game scene of its own, made as the car enters the scene.

#include "engine/core/MessageReceiver.h"

class dcCarSpecial : public MessageReceiver {
public:
    // The special button: held this poll, and went down this poll.
    virtual void Trigger(bool held, bool pressed) = 0;
};
