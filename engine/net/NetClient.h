#pragma once
// A player's side of a multiplayer game: before joining it listens for the
// announcements of open games and hands each to its ClientScene's default
// receiver; once connected it holds one connection to the host and delivers
// what the host sends into the scene. Polled once per frame on the main
// thread; only Connect waits, for the connection to be made.

#include "engine/files/WideString.h"
#include "engine/net/MisbehavingSenders.h"
#include "engine/net/NetSocket.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class ClientScene;
class NetConnection;

class NetClient {
public:
    NetClient();   // starts WinSock 1.1
    ~NetClient();
    NetClient(const NetClient&) = delete;
    NetClient& operator=(const NetClient&) = delete;

    // Listens for announcements on the port; the bind result, 0 on success.
    // A port it cannot bind leaves the client out of discovery.
    int32_t ListenForServers(int32_t port);
    // Leaves discovery and connects to the host; false (logged) when the
    // host text names no address or nobody answers.
    bool Connect(const WideString& host, int32_t port);
    // Nothing unless active; otherwise takes the waiting announcements (a
    // few at most) while discovering, or sends what waits and delivers what
    // the host sent.
    void Update(float dt, bool active);
    void Disconnect();
    // Disconnect, then stops WinSock.
    void Shutdown();

    // Sends a built frame to the host: its length once sent or queued, -1
    // when there is no open link or it failed (the link is then closed).
    int32_t SendFrame(const std::vector<char>& frame);

    bool IsDiscovering() const { return discoverySocket_ != kNoSocket; }
    bool IsConnected() const { return connection_ != nullptr; }

private:
    friend class ClientScene;   // links itself through SetClient

    // Takes one datagram from the discovery socket; false when none waits.
    bool ReceiveAnnouncement();
    void PollHost();
    void StopDiscovering();
    void LoseHost();

    std::shared_ptr<NetConnection> connection_;
    NetSocket discoverySocket_ = kNoSocket;
    // Room for a datagram longer than an announcement, so one is not taken
    // for an error.
    std::array<char, 1024> datagram_{};
    MisbehavingSenders misbehaving_;
    ClientScene* scene_ = nullptr;
    bool winSockStarted_ = false;
};
