#include "engine/net/NetClient.h"

#include "engine/core/LogHub.h"
#include "engine/net/ClientScene.h"
#include "engine/net/NetConnection.h"
#include "engine/net/NetFrame.h"
#include "engine/net/ServerAnnouncement.h"

#include <winsock2.h>

namespace {

// Other programs may send to the game port too. Taking several datagrams a
// poll keeps a busy network from burying the announcements behind its own,
// and the cap keeps it from holding up the frame.
constexpr int32_t kDatagramsPerPoll = 16;

} // namespace

NetClient::NetClient()
    : winSockStarted_(StartWinSock())
{
}

NetClient::~NetClient()
{
    Shutdown();
    if (scene_) {
        scene_->SetClient(nullptr);
    }
}

int32_t NetClient::ListenForServers(int32_t port)
{
    Disconnect();
    discoverySocket_ = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (discoverySocket_ == kNoSocket) {
        LogHub::PrintError("NetClient: cannot open a socket to listen for games (error %d)", LastSocketError());
        return SOCKET_ERROR;
    }
    MakeNonBlocking(discoverySocket_);
    const sockaddr_in bound = SocketAddress(htonl(INADDR_ANY), port);
    const int result = bind(discoverySocket_, reinterpret_cast<const sockaddr*>(&bound), sizeof bound);
    if (result != 0) {
        LogHub::PrintError("NetClient: cannot listen for games on port %d (error %d)", port, LastSocketError());
        StopDiscovering();
    }
    return result;
}

bool NetClient::Connect(const WideString& host, int32_t port)
{
    Disconnect();
    const uint32_t address = ResolveHost(host);
    if (address == kNoAddress) {
        LogHub::PrintError("NetClient: %s names no host", host.c_str());
        return false;
    }
    const NetSocket connected = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (connected == kNoSocket) {
        LogHub::PrintError("NetClient: cannot open a socket (error %d)", LastSocketError());
        return false;
    }
    const sockaddr_in target = SocketAddress(address, port);
    if (connect(connected, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
        LogHub::PrintError("NetClient: cannot connect to %s:%d (error %d)", host.c_str(), port, LastSocketError());
        closesocket(connected);
        return false;
    }
    MakeNonBlocking(connected);
    SetNoDelay(connected);
    connection_ = std::make_shared<NetConnection>(connected, 0, EndpointName(address, port));
    return true;
}

void NetClient::Update(float, bool active)
{
    if (!active) {
        return;
    }
    if (IsDiscovering()) {
        // A delivery may end discovery, by joining a game.
        for (int32_t taken = 0; taken < kDatagramsPerPoll && IsDiscovering() && ReceiveAnnouncement(); ++taken) {
        }
        return;
    }
    PollHost();
}

bool NetClient::ReceiveAnnouncement()
{
    sockaddr_in sender{};
    int senderLength = sizeof sender;
    const int received = recvfrom(discoverySocket_, datagram_.data(), static_cast<int>(datagram_.size()), 0,
                                  reinterpret_cast<sockaddr*>(&sender), &senderLength);
    const bool tooLong = received == SOCKET_ERROR && LastSocketError() == WSAEMSGSIZE;
    if (received == SOCKET_ERROR && !tooLong) {
        return false;
    }
    LogHub::PrintVerbose("Receiving broadcast message");
    const uint32_t address = sender.sin_addr.s_addr;
    WideString fault;
    dcServerMessage record;
    if (tooLong) {
        // The system has dropped what did not fit.
        FormatWideString(fault, "of more than %d bytes from %s", static_cast<int32_t>(datagram_.size()),
                         FormatAddress(address).c_str());
    } else if (ReadAnnouncement(datagram_.data(), received, address, record, fault)) {
        misbehaving_.Behaved(address);
        if (scene_) {
            scene_->Deliver(kClientTarget, dcServerMessage::Identity().Id(), &record, sizeof record);
        }
        return true;
    }
    misbehaving_.Refused(address, fault);
    return true;
}

void NetClient::PollHost()
{
    // Held here, so the inbox a delivery reads from outlives a disconnect
    // made by that delivery.
    const std::shared_ptr<NetConnection> connection = connection_;
    if (!connection) {
        return;
    }
    if (!connection->Flush()) {
        LoseHost();
        return;
    }
    const bool healthy = connection->Pump([this](const NetFrameHeader& header, const void* payload, int32_t size) {
        if (scene_) {
            scene_->Deliver(header.target, header.identity, payload, size);
        }
    });
    if (!healthy && connection == connection_) {
        LoseHost();
    }
}

int32_t NetClient::SendFrame(const std::vector<char>& frame)
{
    if (!connection_) {
        return SOCKET_ERROR;
    }
    if (!connection_->Send(frame)) {
        LoseHost();
        return SOCKET_ERROR;
    }
    return static_cast<int32_t>(frame.size());
}

void NetClient::LoseHost()
{
    LogHub::Printf("NetClient: the connection to %s is closed", connection_->GetPeerName().c_str());
    Disconnect();
}

void NetClient::StopDiscovering()
{
    if (IsDiscovering()) {
        CloseSocketGracefully(discoverySocket_);
        discoverySocket_ = kNoSocket;
    }
}

void NetClient::Disconnect()
{
    StopDiscovering();
    if (connection_) {
        connection_->Close();
        connection_.reset();
    }
}

void NetClient::Shutdown()
{
    Disconnect();
    if (winSockStarted_) {
        StopWinSock();
        winSockStarted_ = false;
    }
}
