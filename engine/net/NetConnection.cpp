#include "engine/net/NetConnection.h"

#include "engine/core/ClassIdentity.h"
#include "engine/core/LogHub.h"

#include <winsock2.h>

#include <algorithm>
#include <cstring>

namespace {

// A peer that keeps writing cannot hold a poll for long: what it sends
// beyond this waits in the socket for the next poll.
constexpr int32_t kReadsPerPoll = 16;
// Frames waiting for a peer that does not read, on top of the several
// megabytes the system's socket buffers take first. Beyond this the peer is
// taken for gone, rather than letting its backlog grow without end.
constexpr size_t kOutboxLimit = 4 * 1024 * 1024;

} // namespace

NetConnection::NetConnection(NetSocket socket, int32_t clientId, const WideString& peerName)
    : socket_(socket)
    , clientId_(clientId)
    , peerName_(peerName)
    , inbox_(kMaxFrameLength)
{
}

NetConnection::~NetConnection()
{
    Close();
}

void NetConnection::Close()
{
    if (!IsOpen()) {
        return;
    }
    CloseSocketGracefully(socket_);
    socket_ = kNoSocket;
    outbox_.clear();
}

bool NetConnection::Send(const std::vector<char>& frame)
{
    if (!IsOpen()) {
        return false;
    }
    const char* rest = frame.data();
    int32_t restSize = static_cast<int32_t>(frame.size());
    if (outbox_.empty()) {
        const int sent = send(socket_, rest, restSize, 0);
        if (sent == SOCKET_ERROR && !LastCallWouldBlock()) {
            LogHub::PrintError("Network: sending to %s failed (error %d)", peerName_.c_str(), LastSocketError());
            return false;
        }
        const int32_t taken = std::max(sent, 0);
        rest += taken;
        restSize -= taken;
    }
    if (restSize == 0) {
        return true;
    }
    if (outbox_.size() + restSize > kOutboxLimit) {
        LogHub::PrintError("Network: %s takes no data, %d bytes wait for it", peerName_.c_str(),
                           static_cast<int32_t>(outbox_.size()));
        return false;
    }
    outbox_.insert(outbox_.end(), rest, rest + restSize);
    return true;
}

bool NetConnection::Flush()
{
    if (!IsOpen()) {
        return false;
    }
    if (outbox_.empty()) {
        return true;
    }
    const int sent = send(socket_, outbox_.data(), static_cast<int>(outbox_.size()), 0);
    if (sent == SOCKET_ERROR) {
        if (LastCallWouldBlock()) {
            return true;
        }
        LogHub::PrintError("Network: sending to %s failed (error %d)", peerName_.c_str(), LastSocketError());
        return false;
    }
    outbox_.erase(outbox_.begin(), outbox_.begin() + sent);
    return true;
}

bool NetConnection::Pump(const Delivery& deliver)
{
    for (int32_t reads = 0; reads < kReadsPerPoll && IsOpen(); ++reads) {
        const int received = recv(socket_, inbox_.data() + inboxFill_, kMaxFrameLength - inboxFill_, 0);
        if (received == 0) {
            LogHub::Printf("Network: %s closed the connection", peerName_.c_str());
            return false;
        }
        if (received == SOCKET_ERROR) {
            if (LastCallWouldBlock()) {
                return true;
            }
            LogHub::PrintError("Network: receiving from %s failed (error %d)", peerName_.c_str(), LastSocketError());
            return false;
        }
        inboxFill_ += received;
        if (!DeliverFrames(deliver)) {
            return false;
        }
    }
    return true;
}

bool NetConnection::DeliverFrames(const Delivery& deliver)
{
    int32_t offset = 0;
    while (inboxFill_ - offset >= kFrameHeaderSize) {
        const NetFrameHeader header = ReadFrameHeader(inbox_.data() + offset);
        // Checked before waiting for the rest, so a wrong length can neither
        // stall the link nor make a frame reach past the inbox.
        if (!FrameLengthFits(header.totalLength)) {
            LogHub::PrintError("Network: %s sent a frame of %d bytes, closing its connection", peerName_.c_str(),
                               header.totalLength);
            return false;
        }
        if (inboxFill_ - offset < header.totalLength) {
            break;
        }
        // Every message type's identity is above zero: no sound peer sends
        // another, and no handler table may be asked for one.
        if (header.identity <= 0) {
            LogHub::PrintError("Network: %s sent a frame of no message type (%d), closing its connection",
                               peerName_.c_str(), header.identity);
            return false;
        }
        offset += header.totalLength;
        // A local-only record made of a peer's bytes would hand its receiver
        // forged pointers, or let the peer speak for this machine (a client
        // joining or leaving, an object entering its scene).
        if (IsLocalOnlyMessage(header.identity)) {
            LogHub::PrintWarning("Network: %s sent local-only message %d, ignored", peerName_.c_str(),
                                 header.identity);
            continue;
        }
        const int32_t size = header.totalLength - kFrameHeaderSize;
        deliver(header, AlignedPayload(offset - size, size), size);
        if (!IsOpen()) {
            return true;   // closed by its owner during the delivery
        }
    }
    if (offset > 0) {
        memmove(inbox_.data(), inbox_.data() + offset, inboxFill_ - offset);
        inboxFill_ -= offset;
    }
    return true;
}

const void* NetConnection::AlignedPayload(int32_t offset, int32_t size)
{
    if (offset % sizeof(uint32_t) == 0) {
        return inbox_.data() + offset;
    }
    // Grown only as far as a peer's payloads need it.
    const size_t words = size / sizeof(uint32_t) + 1;
    if (alignedPayload_.size() < words) {
        alignedPayload_.resize(words);
    }
    memcpy(alignedPayload_.data(), inbox_.data() + offset, size);
    return alignedPayload_.data();
}
