#pragma once
// Messages the transport itself tells the host's default receiver, with the
// client's id also as the connection. Only the transport raises them, so a
// link refuses them from a peer.

#include "engine/core/Message.h"

#include <cstdint>

// A client was accepted.
struct dcConnectMessage {
    DC_LOCAL_MESSAGE(dcConnectMessage)
    int32_t clientId;
};

// A client was lost: it closed its connection, its link failed, or it broke
// the framing.
struct dcDisconnectMessage {
    DC_LOCAL_MESSAGE(dcDisconnectMessage)
    int32_t clientId;
};
