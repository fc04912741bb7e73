#pragma once
// The announcement of an open game as the lobby sees it. On the host the
// transport hands an empty record to the host scene's default receiver once
// a second, which fills magic, version, name and details; on a client every
// announcement received becomes a filled record for the client scene's
// default receiver. It holds strings, so it is a local message only: the
// wire form is the announcement datagram.

#include "engine/core/Message.h"
#include "engine/files/WideString.h"

#include <cstdint>

// What the lobby stamps into its records; clients list only announcements
// that carry both.
constexpr int32_t kServerMagic = 764898;
constexpr int32_t kServerVersion = 61;

constexpr int32_t kServerDetailBytes = 64;

struct dcServerMessage {
    DC_LOCAL_MESSAGE(dcServerMessage)
    int32_t magic = 0;
    int32_t version = 0;
    int32_t gameId = 0;
    WideString address;   // the sender's IPv4 address, "a.b.c.d"
    int32_t port = 0;     // the game's TCP port
    WideString name;
    // The lobby's: from byte 0 a UTF-16 text with its terminating zero (at
    // most 15 characters), at 32 a 16-bit zero, at 34 the number of players,
    // at 35 the maximum, at 36 the game type, at 37 a zero byte.
    uint8_t details[kServerDetailBytes] = {};
};
