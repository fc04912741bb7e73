#pragma once
// The host's side of a multiplayer game: it accepts clients on the game port,
// keeps one connection per client, delivers what they send into its
// HostScene, and, when asked, announces the game on the local network once a
// second. Polled once per frame on the main thread; nothing in it waits.
// Clients take their ids from the scene's counter, so client and object ids
// never clash.

#include "engine/files/WideString.h"
#include "engine/net/NetSocket.h"

#include <cstdint>
#include <memory>
#include <vector>

class HostScene;
class NetConnection;

constexpr int32_t kGamePort = 24958;
// Each client holds a 64 KiB inbox, so the server takes no more than this:
// well above the lobby's largest game (99 players), far below what would
// weigh on the host's memory. Further connections are closed as they come.
constexpr int32_t kMaxClients = 128;

class NetServer {
public:
    NetServer();   // starts WinSock 1.1
    ~NetServer();
    NetServer(const NetServer&) = delete;
    NetServer& operator=(const NetServer&) = delete;

    // Listens on the address ("" for every local address) and port, and
    // opens the socket the announcements leave by; false (logged) when
    // either cannot be opened.
    bool Start(const WideString& address, int32_t port, bool announce);
    // Announces when due, accepts at most one new client (or refuses it when
    // kMaxClients are connected), sends what waits and delivers what arrived.
    void Update(float dt);
    // Closes the client's connection without telling the scene; false when
    // no client has that id.
    bool DropClient(int32_t clientId);
    void CloseAll();
    // CloseAll, then stops WinSock.
    void Shutdown();

    // Sends a built frame to one client, or to every client for id 0.
    void SendFrame(const std::vector<char>& frame, int32_t clientId);

    int32_t GetGameId() const { return gameId_; }
    int32_t GetPort() const { return port_; }
    int32_t GetClientCount() const { return static_cast<int32_t>(connections_.size()); }

private:
    friend class HostScene;   // links itself through SetServer

    void Announce(float dt);
    void AcceptClient();
    void PollClient(int32_t clientId);
    void SendToClient(const std::shared_ptr<NetConnection>& connection, const std::vector<char>& frame);
    // Removes a client whose link failed and tells the scene's default receiver.
    void LoseClient(const std::shared_ptr<NetConnection>& connection);
    std::shared_ptr<NetConnection> FindConnection(int32_t clientId) const;
    // Polls and broadcasts walk a copy of the ids and look each one up
    // again, since a delivery or a failed send may drop clients meanwhile.
    std::vector<int32_t> ClientIds() const;

    int32_t gameId_ = 0;
    NetSocket listenSocket_ = kNoSocket;
    NetSocket broadcastSocket_ = kNoSocket;
    float announceCountdown_ = 0.0f;
    int32_t port_ = 0;
    std::vector<std::shared_ptr<NetConnection>> connections_;   // in order of acceptance
    bool announce_ = false;
    HostScene* scene_ = nullptr;
    bool winSockStarted_ = false;
};
