#include "engine/core/ClassIdentity.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kCrcPolynomial = 0x04C11DB7u;

constexpr std::array<uint32_t, 256> MakeCrcTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t crc = i << 24;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x80000000u) ? (crc << 1) ^ kCrcPolynomial : crc << 1;
        }
        table[i] = crc;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

// Made on first use, so types may enter themselves from any start-up
// constructor, whatever the order in which the files' statics are built.
std::vector<int32_t>& LocalOnlyMessages()
{
    static std::vector<int32_t> identities;
    return identities;
}

} // namespace

uint32_t Crc32XorLength(uint32_t seed, const void* bytes, int32_t count)
{
    const auto* data = static_cast<const uint8_t*>(bytes);
    uint32_t crc = seed;
    for (int32_t i = 0; i < count; ++i) {
        crc = (crc << 8) ^ kCrcTable[data[i] ^ (crc >> 24)];
    }
    return crc ^ static_cast<uint32_t>(count);
}

int32_t HashClassName(const char* name)
{
    const int32_t length = static_cast<int32_t>(std::strlen(name));
    for (uint32_t seed = 0;; ++seed) {
        const int32_t result = static_cast<int32_t>(Crc32XorLength(seed, name, length));
        if (result > 0) {
            return result;
        }
    }
}

ClassIdentity::ClassIdentity(const char* literal)
    : name_(WideStringFromChars(literal, -1))
    , id_(HashClassName(literal))
{
}

bool RegisterLocalOnlyMessage(int32_t identity)
{
    if (!IsLocalOnlyMessage(identity)) {
        LocalOnlyMessages().push_back(identity);
    }
    return true;
}

bool IsLocalOnlyMessage(int32_t identity)
{
    const std::vector<int32_t>& identities = LocalOnlyMessages();
    return std::find(identities.begin(), identities.end(), identity) != identities.end();
}
