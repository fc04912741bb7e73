#pragma once
// The senders of datagrams on the game port that are not announcements of
// this game. Any machine on the network can send them, as fast as it likes:
// each sender is warned about once, and then only counted until it sends a
// genuine announcement, so that no sender can grow the log without bound.

#include "engine/files/WideString.h"

#include <cstdint>
#include <map>

class MisbehavingSenders {
public:
    // A datagram refused for the fault (which names the sender, part of the
    // warning line): warned about when the sender is not warned about yet.
    void Refused(uint32_t sender, const WideString& fault);
    // A genuine announcement: the sender's next fault is warned about again;
    // how many of its datagrams were ignored meanwhile is a verbose line.
    void Behaved(uint32_t sender);

private:
    // Senders beyond this many are ignored without a warning: the table
    // must not grow without bound either.
    static constexpr size_t kMostSenders = 64;

    // Datagrams refused since the sender last behaved, by IPv4 address
    // (network byte order).
    std::map<uint32_t, int32_t> refused_;
};
