#include "render/sprites/VertexRing.h"

#include "engine/video/VideoDevice.h"

RingReservation ReserveRing(int32_t position, int32_t count, int32_t capacity)
{
    if (position + count >= capacity) {
        return {0, kLockDiscard};
    }
    return {position, kLockNoOverwrite};
}

VertexRing CreateVertexRing(VideoDevice& device, int32_t stride, int32_t count, bool hardware)
{
    return {device.CreateVertexBuffer(stride, count, true, hardware), 0};
}

IndexRing CreateIndexRing(VideoDevice& device, int32_t indexCount, int32_t vertexCount, bool hardware)
{
    return {device.CreateIndexBuffer(indexCount, vertexCount, true, hardware), 0};
}
