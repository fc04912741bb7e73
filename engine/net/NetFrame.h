#pragma once
// How messages travel on a game connection: every frame is a 12-byte header
// {int32 target, int32 message identity, int32 total length including the
// header} followed by the payload, little-endian, frames back to back.
// Target 0 is the host's default receiver, 1 a client's default receiver,
// any other value the object with that id in the receiving scene.

#include "engine/core/FixedLayout.h"

#include <cstdint>
#include <vector>

constexpr int32_t kHostTarget = 0;
constexpr int32_t kClientTarget = 1;

constexpr int32_t kFrameHeaderSize = 12;
// Every connection reads into an inbox of this size, so no frame may be
// longer.
constexpr int32_t kMaxFrameLength = 65536;
constexpr int32_t kMaxPayloadSize = kMaxFrameLength - kFrameHeaderSize;

struct NetFrameHeader {
    int32_t target;
    int32_t identity;
    int32_t totalLength;
};
DC_FIXED_LAYOUT(NetFrameHeader, kFrameHeaderSize);

// The frame as one buffer, sent with one call; empty (logged) when the
// payload is missing or too long for any peer to take.
std::vector<char> BuildFrame(int32_t target, int32_t identity, const void* payload, int32_t size);

// Reads the header at the start of at least kFrameHeaderSize bytes.
NetFrameHeader ReadFrameHeader(const char* bytes);

// Whether a received header's length can be a frame: the header itself at
// least, and no more than an inbox holds.
inline bool FrameLengthFits(int32_t totalLength)
{
    return totalLength >= kFrameHeaderSize && totalLength <= kMaxFrameLength;
}
