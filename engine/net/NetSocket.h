#pragma once
// The few WinSock operations the transport shares, behind types that keep
// <winsock2.h> out of every header that includes ours.

#include "engine/files/WideString.h"

#include <cstdint>

// A WinSock SOCKET; kNoSocket is INVALID_SOCKET.
using NetSocket = uintptr_t;
constexpr NetSocket kNoSocket = ~NetSocket(0);

// An IPv4 address in network byte order; kNoAddress when a text names none.
constexpr uint32_t kNoAddress = 0xFFFFFFFFu;

struct sockaddr_in;

// WinSock 1.1 for the lifetime of each server and client object; every
// successful start is paired with one stop.
bool StartWinSock();
void StopWinSock();

// The text as a dotted address, else the first address the name resolves to.
uint32_t ResolveHost(const WideString& host);
// "a.b.c.d" of an address in network byte order.
WideString FormatAddress(uint32_t address);
// The socket address of an IPv4 address (network byte order) and port, for
// bind, connect and sendto; callers include <winsock2.h>.
sockaddr_in SocketAddress(uint32_t address, int32_t port);

// Non-blocking, and for stream sockets without Nagle's delay, so that small
// frames leave at once.
bool MakeNonBlocking(NetSocket socket);
bool SetNoDelay(NetSocket socket);

// Stops sending (or, failing that, receiving), reads and drops what is still
// pending, then closes. Sockets here are non-blocking, so this never waits.
void CloseSocketGracefully(NetSocket socket);

// "a.b.c.d:port" of an address (network byte order) and port. Peers are
// named by the address a connection was made with or accepted from: a
// socket whose peer has already reset it no longer tells who that was.
WideString EndpointName(uint32_t address, int32_t port);

// Whether the last failed call only found nothing to do on a non-blocking
// socket.
bool LastCallWouldBlock();
int32_t LastSocketError();
