#include "engine/physics/ContactBuffer.h"

#include <algorithm>
#include <vector>

namespace {

struct ContactBuffer {
    std::vector<dContact> points = std::vector<dContact>(ContactBufferScope::kCapacity, dContact{});
    int32_t top = 0;   // slots held by the collisions under way
};

ContactBuffer& Buffer()
{
    static ContactBuffer buffer;
    return buffer;
}

} // namespace

ContactBufferScope::ContactBufferScope(int32_t wanted)
{
    ContactBuffer& buffer = Buffer();
    size_ = std::clamp(wanted, 0, kCapacity - buffer.top);
    points_ = buffer.points.data() + buffer.top;
    buffer.top += size_;
}

ContactBufferScope::~ContactBufferScope()
{
    Buffer().top -= size_;
}
