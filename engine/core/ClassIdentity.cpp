#include "engine/core/ClassIdentity.h"

#include <algorithm>
#include <vector>

namespace {

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
    return class_identity_detail::CrcOfBytes(seed, static_cast<const char*>(bytes), count);
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
