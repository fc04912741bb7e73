#pragma once
// The loading screens of a network game keep each other in step with these,
// addressed to the loading screen's id, the same on every machine.

#include "engine/core/FixedLayout.h"
#include "engine/core/Message.h"

#include <cstdint>

// Client to host every 0.5 s; the host relays it to every client.
struct dcLoadingMessage {
    DC_MESSAGE(dcLoadingMessage)
    int32_t clientId;   // set by the host from the connection it came on
    float progress;     // 0 to 1.0
};
DC_FIXED_LAYOUT(dcLoadingMessage, 8);

// Host to every client, once: the game starts.
struct dcStartMessage {
    DC_MESSAGE(dcStartMessage)
    int32_t nextId;   // the host scene's next free entity id
};
DC_FIXED_LAYOUT(dcStartMessage, 4);
