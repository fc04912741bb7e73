#include "engine/net/NetSocket.h"

#include "engine/core/LogHub.h"

#include <winsock2.h>

#include <cstring>

namespace {

constexpr WORD kWinSockVersion = 0x0101;
// What a closing socket may still hold is bounded by its receive buffer;
// the cap only guards against a peer that keeps writing meanwhile.
constexpr int32_t kDrainReads = 64;

} // namespace

bool StartWinSock()
{
    WSADATA data;
    const int result = WSAStartup(kWinSockVersion, &data);
    if (result != 0) {
        LogHub::PrintError("Network: WinSock 1.1 did not start (error %d)", result);
        return false;
    }
    return true;
}

void StopWinSock()
{
    WSACleanup();
}

uint32_t ResolveHost(const WideString& host)
{
    const std::string text = WideStringToNarrow(host);
    const uint32_t dotted = inet_addr(text.c_str());
    if (dotted != INADDR_NONE) {
        return dotted;
    }
    const hostent* entry = gethostbyname(text.c_str());
    if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list[0]) {
        return kNoAddress;
    }
    uint32_t address;
    memcpy(&address, entry->h_addr_list[0], sizeof address);
    return address;
}

WideString FormatAddress(uint32_t address)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(&address);
    WideString text;
    return FormatWideString(text, "%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
}

sockaddr_in SocketAddress(uint32_t address, int32_t port)
{
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_addr.s_addr = address;
    result.sin_port = htons(static_cast<u_short>(port));
    return result;
}

bool MakeNonBlocking(NetSocket socket)
{
    u_long on = 1;
    return ioctlsocket(socket, FIONBIO, &on) == 0;
}

bool SetNoDelay(NetSocket socket)
{
    BOOL on = TRUE;
    return setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on) == 0;
}

void CloseSocketGracefully(NetSocket socket)
{
    if (shutdown(socket, SD_SEND) != 0) {
        shutdown(socket, SD_RECEIVE);
    }
    char scrap[1024];
    for (int32_t reads = 0; reads < kDrainReads; ++reads) {
        if (recv(socket, scrap, sizeof scrap, 0) <= 0) {
            break;
        }
    }
    closesocket(socket);
}

WideString EndpointName(uint32_t address, int32_t port)
{
    WideString name;
    return FormatWideString(name, "%s:%d", FormatAddress(address).c_str(), port);
}

bool LastCallWouldBlock()
{
    return WSAGetLastError() == WSAEWOULDBLOCK;
}

int32_t LastSocketError()
{
    return WSAGetLastError();
}
