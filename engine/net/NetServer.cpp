#include "engine/net/NetServer.h"

#include "engine/core/LogHub.h"
#include "engine/net/HostScene.h"
#include "engine/net/NetConnection.h"
#include "engine/net/NetMessages.h"
#include "engine/net/ServerAnnouncement.h"

#include <winsock2.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr float kAnnounceInterval = 1.0f;   // seconds

void CloseSocket(NetSocket& socket)
{
    if (socket != kNoSocket) {
        closesocket(socket);
        socket = kNoSocket;
    }
}

// A product of four draws from the sequence the program seeded at start, so
// hosts on different machines announce different games.
int32_t DrawGameId()
{
    uint32_t id = 1;
    for (int draw = 0; draw < 4; ++draw) {
        id *= static_cast<uint32_t>(rand());
    }
    return static_cast<int32_t>(id);
}

} // namespace

NetServer::NetServer()
    : winSockStarted_(StartWinSock())
{
}

NetServer::~NetServer()
{
    Shutdown();
    if (scene_) {
        scene_->SetServer(nullptr);
    }
}

bool NetServer::Start(const WideString& address, int32_t port, bool announce)
{
    CloseAll();
    port_ = port;
    announce_ = announce;
    gameId_ = DrawGameId();

    const uint32_t local = address.empty() ? htonl(INADDR_ANY) : inet_addr(WideStringToNarrow(address).c_str());
    if (local == INADDR_NONE) {
        LogHub::PrintError("NetServer: %s is no address to host on", address.c_str());
        return false;
    }

    broadcastSocket_ = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    BOOL on = TRUE;
    if (broadcastSocket_ == kNoSocket || !MakeNonBlocking(broadcastSocket_) ||
        setsockopt(broadcastSocket_, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on) != 0) {
        LogHub::PrintError("NetServer: cannot open the announcement socket (error %d)", LastSocketError());
        CloseAll();
        return false;
    }
    announceCountdown_ = 0.0f;

    listenSocket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    const sockaddr_in bound = SocketAddress(local, port);
    if (listenSocket_ == kNoSocket || !MakeNonBlocking(listenSocket_) ||
        bind(listenSocket_, reinterpret_cast<const sockaddr*>(&bound), sizeof bound) != 0 ||
        listen(listenSocket_, SOMAXCONN) != 0) {
        LogHub::PrintError("NetServer: cannot listen on port %d (error %d)", port, LastSocketError());
        CloseAll();
        return false;
    }
    SetNoDelay(listenSocket_);
    return true;
}

void NetServer::Update(float dt)
{
    // Everything received goes to the scene, so there is nothing to do
    // before one is linked.
    if (!scene_) {
        return;
    }
    if (announce_ && broadcastSocket_ != kNoSocket) {
        Announce(dt);
    }
    AcceptClient();
    for (int32_t clientId : ClientIds()) {
        PollClient(clientId);
    }
}

void NetServer::Announce(float dt)
{
    announceCountdown_ -= dt;
    if (announceCountdown_ >= 0.0f) {
        return;
    }
    announceCountdown_ = kAnnounceInterval;
    dcServerMessage record;
    scene_->Deliver(kHostTarget, dcServerMessage::Identity().Id(), &record, sizeof record, 0);
    const AnnouncementDatagram datagram = WriteAnnouncement(record, gameId_, port_);
    const sockaddr_in everyone = SocketAddress(htonl(INADDR_BROADCAST), port_);
    // A lost announcement is made good by the next one.
    sendto(broadcastSocket_, datagram.data(), kAnnouncementSize, 0, reinterpret_cast<const sockaddr*>(&everyone),
           sizeof everyone);
}

void NetServer::AcceptClient()
{
    if (listenSocket_ == kNoSocket) {
        return;
    }
    sockaddr_in peer{};
    int peerLength = sizeof peer;
    const NetSocket accepted = accept(listenSocket_, reinterpret_cast<sockaddr*>(&peer), &peerLength);
    if (accepted == kNoSocket) {
        return;
    }
    const WideString peerName = EndpointName(peer.sin_addr.s_addr, ntohs(peer.sin_port));
    MakeNonBlocking(accepted);
    if (GetClientCount() >= kMaxClients) {
        LogHub::PrintWarning("NetServer: refusing %s, %d clients are connected already", peerName.c_str(),
                             GetClientCount());
        CloseSocketGracefully(accepted);
        return;
    }
    SetNoDelay(accepted);
    const int32_t clientId = scene_->NewId();
    auto connection = std::make_shared<NetConnection>(accepted, clientId, peerName);
    LogHub::PrintVerbose("NetServer: client %d connected from %s", clientId, connection->GetPeerName().c_str());
    connections_.push_back(connection);
    const dcConnectMessage message{clientId};
    scene_->Deliver(kHostTarget, dcConnectMessage::Identity().Id(), &message, sizeof message, clientId);
}

void NetServer::PollClient(int32_t clientId)
{
    // Held here, so the inbox a delivery reads from outlives a drop made by
    // that delivery.
    const std::shared_ptr<NetConnection> connection = FindConnection(clientId);
    if (!connection) {
        return;
    }
    if (!connection->Flush()) {
        LoseClient(connection);
        return;
    }
    const bool healthy = connection->Pump([this, clientId](const NetFrameHeader& header, const void* payload,
                                                           int32_t size) {
        if (scene_) {
            scene_->Deliver(header.target, header.identity, payload, size, clientId);
        }
    });
    if (!healthy) {
        LoseClient(connection);
    }
}

void NetServer::SendFrame(const std::vector<char>& frame, int32_t clientId)
{
    if (clientId != 0) {
        if (const std::shared_ptr<NetConnection> connection = FindConnection(clientId)) {
            SendToClient(connection, frame);
        }
        return;
    }
    for (int32_t id : ClientIds()) {
        if (const std::shared_ptr<NetConnection> connection = FindConnection(id)) {
            SendToClient(connection, frame);
        }
    }
}

void NetServer::SendToClient(const std::shared_ptr<NetConnection>& connection, const std::vector<char>& frame)
{
    if (!connection->Send(frame)) {
        LoseClient(connection);
    }
}

void NetServer::LoseClient(const std::shared_ptr<NetConnection>& connection)
{
    const auto listed = std::find(connections_.begin(), connections_.end(), connection);
    if (listed == connections_.end()) {
        return;   // already dropped
    }
    const int32_t clientId = connection->GetClientId();
    connection->Close();
    connections_.erase(listed);
    LogHub::Printf("NetServer: client %d (%s) is gone", clientId, connection->GetPeerName().c_str());
    if (scene_) {
        const dcDisconnectMessage message{clientId};
        scene_->Deliver(kHostTarget, dcDisconnectMessage::Identity().Id(), &message, sizeof message, clientId);
    }
}

bool NetServer::DropClient(int32_t clientId)
{
    const std::shared_ptr<NetConnection> connection = FindConnection(clientId);
    if (!connection) {
        return false;
    }
    connection->Close();
    connections_.erase(std::find(connections_.begin(), connections_.end(), connection));
    return true;
}

void NetServer::CloseAll()
{
    for (const std::shared_ptr<NetConnection>& connection : connections_) {
        connection->Close();
    }
    connections_.clear();
    CloseSocket(listenSocket_);
    CloseSocket(broadcastSocket_);
}

void NetServer::Shutdown()
{
    CloseAll();
    if (winSockStarted_) {
        StopWinSock();
        winSockStarted_ = false;
    }
}

std::shared_ptr<NetConnection> NetServer::FindConnection(int32_t clientId) const
{
    for (const std::shared_ptr<NetConnection>& connection : connections_) {
        if (connection->GetClientId() == clientId) {
            return connection;
        }
    }
    return nullptr;
}

std::vector<int32_t> NetServer::ClientIds() const
{
    std::vector<int32_t> ids;
    for (const std::shared_ptr<NetConnection>& connection : connections_) {
        ids.push_back(connection->GetClientId());
    }
    return ids;
}
