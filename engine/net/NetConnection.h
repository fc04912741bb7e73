#pragma once
// One TCP link that carries frames: the host keeps one per client, a client
// one to its host. Received bytes gather in a fixed inbox from which every
// complete frame is handed out, in arrival order, in the poll in which its
// last byte arrives. Frames are sent whole: what the socket cannot take at
// once waits in an outbox and leaves on the next poll, ahead of anything sent
// later, so the peer never sees a frame cut short or out of order.

#include "engine/files/WideString.h"
#include "engine/net/NetFrame.h"
#include "engine/net/NetSocket.h"

#include <functional>
#include <vector>

class NetConnection {
public:
    // The payload lies in the inbox and is valid only during the call.
    using Delivery = std::function<void(const NetFrameHeader& header, const void* payload, int32_t size)>;

    // Takes over a connected, non-blocking socket to the named peer. The
    // host's clients carry their id; a client's link to its host carries 0.
    NetConnection(NetSocket socket, int32_t clientId, const WideString& peerName);
    ~NetConnection();
    NetConnection(const NetConnection&) = delete;
    NetConnection& operator=(const NetConnection&) = delete;

    // Sends the frame or queues what the socket does not take; false (logged)
    // when the link failed or the peer has stopped taking data.
    bool Send(const std::vector<char>& frame);
    // Sends what earlier sends left queued; false (logged) when the link failed.
    bool Flush();
    // Reads what has arrived and delivers every complete frame; false (logged)
    // when the peer closed, the link failed or a frame's length or identity
    // cannot be right. A delivery may close the connection; the pump then stops at once.
    bool Pump(const Delivery& deliver);
    void Close();

    bool IsOpen() const { return socket_ != kNoSocket; }
    int32_t GetClientId() const { return clientId_; }
    const WideString& GetPeerName() const { return peerName_; }

private:
    // Delivers the complete frames in the inbox and keeps the rest.
    bool DeliverFrames(const Delivery& deliver);
    const void* AlignedPayload(int32_t offset, int32_t size);

    NetSocket socket_;
    int32_t clientId_;
    WideString peerName_;
    std::vector<char> inbox_;
    int32_t inboxFill_ = 0;
    // Payloads whose frame starts off a 4-byte boundary are handed out from
    // here, so handlers always read their records aligned. Empty until a
    // payload needs it, and no longer than the longest such payload.
    std::vector<uint32_t> alignedPayload_;
    std::vector<char> outbox_;
};
