#pragma once
// What the network tests share: a receiver that keeps every message it is
// handed, a raw TCP peer that sends whatever bytes a test wants, and a poll
// loop with a deadline. Everything talks over the loopback address or the
// test runner's private broadcast, on ports of the tests' own.

// First, so that the Win32 macros (GetClassName to GetClassNameW) rename
// the receiver's operations alike in the engine's declarations and here.
#include <winsock2.h>

#include "engine/core/MessageReceiver.h"
#include "engine/net/NetFrame.h"
#include "engine/net/NetMessages.h"
#include "engine/net/NetSocket.h"
#include "engine/net/ServerMessage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

struct dcNetTestNumber {
    DC_MESSAGE(dcNetTestNumber)
    int32_t value;
};
DC_FIXED_LAYOUT(dcNetTestNumber, 4);

struct dcNetTestEmpty {
    DC_MESSAGE(dcNetTestEmpty)
};

// Keeps a copy of every message, whatever its type; announcement records,
// which hold strings, are kept as records.
class RecordingReceiver : public MessageReceiver {
public:
    struct Heard {
        int32_t identity;
        std::vector<char> payload;
        int32_t connection;
    };

    WideString GetClassName() const override { return L"RecordingReceiver"; }
    int32_t GetClassID() const override { return 1; }
    bool HandlesMessage(int32_t) override { return true; }
    int32_t HandleMessage(int32_t identity, const void* payload, int32_t size, int32_t connection) override
    {
        if (onMessage) {
            onMessage(identity, const_cast<void*>(payload), size, connection);
        }
        if (identity == dcServerMessage::Identity().Id()) {
            servers.push_back(*static_cast<const dcServerMessage*>(payload));
            return 1;
        }
        const char* bytes = static_cast<const char*>(payload);
        heard.push_back({identity, std::vector<char>(bytes, bytes + size), connection});
        return 1;
    }

    // The payloads of one flat message type, in arrival order.
    template <class Msg>
    std::vector<Msg> Payloads() const
    {
        std::vector<Msg> payloads;
        for (const Heard& h : heard) {
            if (h.identity == Msg::Identity().Id() && h.payload.size() >= sizeof(Msg)) {
                Msg message;
                memcpy(&message, h.payload.data(), sizeof message);
                payloads.push_back(message);
            }
        }
        return payloads;
    }
    // The connections the messages of one type came with.
    template <class Msg>
    std::vector<int32_t> Connections() const
    {
        std::vector<int32_t> connections;
        for (const Heard& h : heard) {
            if (h.identity == Msg::Identity().Id()) {
                connections.push_back(h.connection);
            }
        }
        return connections;
    }

    // Sees each message first; the payload may be filled in.
    std::function<void(int32_t identity, void* payload, int32_t size, int32_t connection)> onMessage;
    std::vector<Heard> heard;
    std::vector<dcServerMessage> servers;
};

inline std::vector<int32_t> Values(const std::vector<dcNetTestNumber>& numbers)
{
    std::vector<int32_t> values;
    for (const dcNetTestNumber& n : numbers) {
        values.push_back(n.value);
    }
    return values;
}

// The messages that stand for this machine's own events or carry its
// pointers, by name, so that a test does not make their identity records
// itself.
inline const std::vector<const char*> kLocalOnlyMessageNames = {
    "dcConnectMessage", "dcDisconnectMessage", "dcServerMessage", "dcSceneAdd",        "dcSceneDel",
    "dcCollisionCull",  "dcCollision",         "dcContact",       "dcTriangleContact", "dcPhysicsForce",
};

// A payload as a forger would write it: its first field names the client
// given, and what follows, read as pointers or strings, leads nowhere.
inline std::vector<char> ForgedPayload(int32_t clientId)
{
    std::vector<char> payload(256, '\x41');
    memcpy(payload.data(), &clientId, sizeof clientId);
    return payload;
}

// Whether one logged line holds every part.
inline bool LoggedTogether(const std::vector<WideString>& lines, const std::vector<WideString>& parts)
{
    for (const WideString& line : lines) {
        bool all = true;
        for (const WideString& part : parts) {
            all = all && line.find(part) != WideString::npos;
        }
        if (all) {
            return true;
        }
    }
    return false;
}

template <class Msg>
std::vector<char> FrameOf(int32_t target, const Msg& message)
{
    return BuildFrame(target, Msg::Identity().Id(), &message, static_cast<int32_t>(sizeof(Msg)));
}

// Polls until the condition holds or the seconds run out; whether it held.
// The bound is generous: it only ends a run that has already failed.
inline bool PollUntil(const std::function<void()>& poll, const std::function<bool()>& done, double seconds = 10.0)
{
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(seconds * 1000.0);
    while (static_cast<int32_t>(deadline - GetTickCount()) > 0) {
        poll();
        if (done()) {
            return true;
        }
        Sleep(1);
    }
    return false;
}

inline sockaddr_in LoopbackAddress(int32_t port)
{
    return SocketAddress(htonl(INADDR_LOOPBACK), port);
}

// A UDP socket that sends datagrams to a port of the loopback address.
// WinSock must be started.
class DatagramSender {
public:
    explicit DatagramSender(int32_t port)
        : socket_(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP))
        , target_(LoopbackAddress(port))
    {
    }
    ~DatagramSender() { closesocket(socket_); }
    DatagramSender(const DatagramSender&) = delete;
    DatagramSender& operator=(const DatagramSender&) = delete;

    void Send(const char* bytes, int size)
    {
        EXPECT_EQ(sendto(socket_, bytes, size, 0, reinterpret_cast<const sockaddr*>(&target_), sizeof target_), size);
    }

private:
    SOCKET socket_;
    sockaddr_in target_;
};

// A TCP peer on the loopback address that writes raw bytes and reads without
// waiting. WinSock must be started (a NetServer or NetClient does that).
class RawPeer {
public:
    // A receive buffer above 0 keeps the peer's window small, so that a
    // sender soon finds the link full.
    explicit RawPeer(int32_t port, int receiveBuffer = 0)
    {
        socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (receiveBuffer > 0) {
            setsockopt(socket_, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&receiveBuffer),
                       sizeof receiveBuffer);
        }
        const sockaddr_in host = LoopbackAddress(port);
        EXPECT_EQ(connect(socket_, reinterpret_cast<const sockaddr*>(&host), sizeof host), 0);
        MakeNonBlocking(socket_);
    }
    ~RawPeer()
    {
        if (socket_ != INVALID_SOCKET) {
            closesocket(socket_);
        }
    }
    RawPeer(const RawPeer&) = delete;
    RawPeer& operator=(const RawPeer&) = delete;

    // The next connection a listening socket takes, as a raw peer; null when
    // none comes.
    static std::unique_ptr<RawPeer> Accept(SOCKET listener)
    {
        const SOCKET accepted = accept(listener, nullptr, nullptr);
        if (accepted == INVALID_SOCKET) {
            return nullptr;
        }
        MakeNonBlocking(accepted);
        return std::unique_ptr<RawPeer>(new RawPeer(accepted));
    }

    void Write(const void* bytes, int size)
    {
        const char* rest = static_cast<const char*>(bytes);
        while (size > 0) {
            const int sent = send(socket_, rest, size, 0);
            if (sent == SOCKET_ERROR) {
                ASSERT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
                Sleep(1);
                continue;
            }
            rest += sent;
            size -= sent;
        }
    }
    void Write(const std::vector<char>& bytes) { Write(bytes.data(), static_cast<int>(bytes.size())); }

    // Writes what the link takes at once: the bytes taken, 0 when it is
    // full, -1 once the other side has dropped the link.
    int WriteSome(const char* bytes, int size)
    {
        const int sent = send(socket_, bytes, size, 0);
        if (sent != SOCKET_ERROR) {
            return sent;
        }
        return WSAGetLastError() == WSAEWOULDBLOCK ? 0 : -1;
    }

    // "a.b.c.d:port" of this end, as the other side names it.
    WideString LocalName() const
    {
        sockaddr_in local{};
        int length = sizeof local;
        getsockname(socket_, reinterpret_cast<sockaddr*>(&local), &length);
        return EndpointName(local.sin_addr.s_addr, ntohs(local.sin_port));
    }

    // Appends what has arrived to `received`; false once the other side
    // has closed.
    bool ReadAvailable()
    {
        char buffer[16384];
        for (;;) {
            const int got = recv(socket_, buffer, sizeof buffer, 0);
            if (got > 0) {
                received.insert(received.end(), buffer, buffer + got);
                continue;
            }
            return got == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK;
        }
    }

    void CloseGracefully()
    {
        shutdown(socket_, SD_SEND);
        closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }
    // Closing with no linger resets the connection.
    void Reset()
    {
        linger abort{1, 0};
        setsockopt(socket_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
        closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }

    std::vector<char> received;

private:
    explicit RawPeer(SOCKET connected) : socket_(connected) {}

    SOCKET socket_;
};

// The frames in a run of received bytes, as {header, payload}.
struct ParsedFrame {
    NetFrameHeader header;
    std::vector<char> payload;
};

inline std::vector<ParsedFrame> ParseFrames(const std::vector<char>& bytes)
{
    std::vector<ParsedFrame> frames;
    size_t offset = 0;
    while (bytes.size() - offset >= kFrameHeaderSize) {
        const NetFrameHeader header = ReadFrameHeader(bytes.data() + offset);
        if (header.totalLength < kFrameHeaderSize || bytes.size() - offset < static_cast<size_t>(header.totalLength)) {
            break;
        }
        const char* payload = bytes.data() + offset + kFrameHeaderSize;
        frames.push_back({header, std::vector<char>(payload, payload + header.totalLength - kFrameHeaderSize)});
        offset += header.totalLength;
    }
    return frames;
}
