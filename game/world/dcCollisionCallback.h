#pragma once
// The owner of a probe geometry that only asks whether it touches anything:
// it notes the first contact and keeps every contact from becoming a
// physical one, so the probe never pushes what it meets.

#include "engine/core/MessageReceiver.h"

struct dcContact;

class dcCollisionCallback : public MessageReceiver {
    DC_RECEIVER(dcCollisionCallback, MessageReceiver)
public:
    dcCollisionCallback();

    bool WasHit() const { return hit_; }

protected:
    // handlers: dcContact -> OnContact
    virtual void OnContact(const dcContact& message);

private:
    bool hit_ = false;
};
