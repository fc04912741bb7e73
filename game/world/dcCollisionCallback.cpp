#include "game/world/dcCollisionCallback.h"

#include "engine/physics/PhysicsMessages.h"

dcCollisionCallback::dcCollisionCallback()
{
    Handles<dcContact, &dcCollisionCallback::OnContact>();
}

void dcCollisionCallback::OnContact(const dcContact& message)
{
    hit_ = true;
    message.accept = 0;
}
