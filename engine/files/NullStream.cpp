#include "engine/files/NullStream.h"

#include <cstring>

int32_t NullStream::Read(void* buffer, int32_t count)
{
    if (count > 0) {
        std::memset(buffer, 0, count);
    }
    return 0;
}
