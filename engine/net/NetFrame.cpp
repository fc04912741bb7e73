#include "engine/net/NetFrame.h"

#include "engine/core/LogHub.h"

#include <cstring>

// The game runs on x86 only, whose byte order is the wire's, so header
// fields are copied as they are.

std::vector<char> BuildFrame(int32_t target, int32_t identity, const void* payload, int32_t size)
{
    if (size < 0 || size > kMaxPayloadSize || (size > 0 && !payload)) {
        LogHub::PrintError("Network: message %d with a payload of %d bytes cannot be sent", identity, size);
        return {};
    }
    const NetFrameHeader header{target, identity, kFrameHeaderSize + size};
    std::vector<char> frame(header.totalLength);
    memcpy(frame.data(), &header, kFrameHeaderSize);
    if (size > 0) {
        memcpy(frame.data() + kFrameHeaderSize, payload, size);
    }
    return frame;
}

NetFrameHeader ReadFrameHeader(const char* bytes)
{
    NetFrameHeader header;
    memcpy(&header, bytes, kFrameHeaderSize);
    return header;
}
