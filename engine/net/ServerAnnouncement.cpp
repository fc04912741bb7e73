#include "engine/net/ServerAnnouncement.h"

#include "engine/net/NetSocket.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t kMagicOffset = 0;
constexpr int32_t kVersionOffset = 4;
constexpr int32_t kGameIdOffset = 8;
constexpr int32_t kPortOffset = 12;
constexpr int32_t kNameOffset = 16;
constexpr int32_t kDetailsOffset = 80;
static_assert(kNameOffset + kAnnouncedNameBytes == kDetailsOffset);
static_assert(kDetailsOffset + kServerDetailBytes <= kAnnouncementSize);
constexpr int32_t kHighestPort = 65535;

void PutInt(AnnouncementDatagram& datagram, int32_t offset, int32_t value)
{
    memcpy(datagram.data() + offset, &value, sizeof value);
}

int32_t GetInt(const char* datagram, int32_t offset)
{
    int32_t value;
    memcpy(&value, datagram + offset, sizeof value);
    return value;
}

} // namespace

AnnouncementDatagram WriteAnnouncement(const dcServerMessage& record, int32_t gameId, int32_t port)
{
    AnnouncementDatagram datagram{};
    PutInt(datagram, kMagicOffset, record.magic);
    PutInt(datagram, kVersionOffset, record.version);
    PutInt(datagram, kGameIdOffset, gameId);
    PutInt(datagram, kPortOffset, port);
    const std::string name = WideStringToNarrow(record.name);
    // The field keeps its terminating zero.
    const size_t nameLength = std::min(name.size(), static_cast<size_t>(kAnnouncedNameBytes - 1));
    memcpy(datagram.data() + kNameOffset, name.data(), nameLength);
    memcpy(datagram.data() + kDetailsOffset, record.details, kServerDetailBytes);
    return datagram;
}

bool ReadAnnouncement(const char* datagram, int32_t size, uint32_t sender, dcServerMessage& record, WideString& fault)
{
    const WideString address = FormatAddress(sender);
    if (size < kAnnouncementSize) {
        FormatWideString(fault, "of %d bytes from %s", size, address.c_str());
        return false;
    }
    const int32_t magic = GetInt(datagram, kMagicOffset);
    const int32_t version = GetInt(datagram, kVersionOffset);
    if (magic != kServerMagic || version != kServerVersion) {
        FormatWideString(fault, "from %s (magic %d, version %d)", address.c_str(), magic, version);
        return false;
    }
    const int32_t port = GetInt(datagram, kPortOffset);
    if (port <= 0 || port > kHighestPort) {
        FormatWideString(fault, "from %s (port %d)", address.c_str(), port);
        return false;
    }
    record.magic = magic;
    record.version = version;
    record.gameId = GetInt(datagram, kGameIdOffset);
    record.address = address;
    record.port = port;
    const char* name = datagram + kNameOffset;
    record.name = WideStringFromChars(name, static_cast<int32_t>(strnlen(name, kAnnouncedNameBytes)));
    memcpy(record.details, datagram + kDetailsOffset, kServerDetailBytes);
    return true;
}
