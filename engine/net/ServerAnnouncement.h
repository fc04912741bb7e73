#pragma once
// The datagram by which a host announces its game on the local network, once
// a second, to 255.255.255.255 at the game port. 144 bytes, little-endian:
//    0  int32 magic            4  int32 version
//    8  int32 game id         12  int32 TCP port of the game
//   16  host name, 8-bit ANSI text, zero-terminated (at most 63 characters)
//   80  the record's 64 detail bytes, unchanged
// Bytes no field fills are zero when sent and ignored when received.

#include "engine/net/ServerMessage.h"

#include <array>
#include <cstdint>

constexpr int32_t kAnnouncementSize = 144;
constexpr int32_t kAnnouncedNameBytes = 64;

using AnnouncementDatagram = std::array<char, kAnnouncementSize>;

AnnouncementDatagram WriteAnnouncement(const dcServerMessage& record, int32_t gameId, int32_t port);

// Fills the record from a received datagram and the address it came from
// (network byte order). False for a datagram that is too short, that another
// program or game version sent, or that names no TCP port; the fault then
// says which and who sent it, for a log line ("of 12 bytes from 10.0.0.7").
bool ReadAnnouncement(const char* datagram, int32_t size, uint32_t sender, dcServerMessage& record, WideString& fault);
