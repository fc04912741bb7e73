#pragma once
// Dynamic buffers filled as rings: each batch locks the next free range
// without overwriting what the adapter may still draw from, and when a batch
// would reach the end the ring starts over at 0 with the contents
// discarded, so the CPU never waits for the GPU.

#include "render/device/IndexBuffer.h"
#include "render/device/VertexBuffer.h"

#include <cstdint>
#include <memory>

class VideoDevice;

// Where a batch of count elements goes, and how to lock it (BufferLockFlags).
struct RingReservation {
    int32_t start;
    uint32_t lockFlags;
};

// At the position with no-overwrite; at 0 with discard when the batch would
// reach the capacity.
RingReservation ReserveRing(int32_t position, int32_t count, int32_t capacity);

struct VertexRing {
    std::unique_ptr<VertexBuffer> buffer;
    int32_t position = 0;   // elements written since the last restart
};

struct IndexRing {
    std::unique_ptr<IndexBuffer> buffer;
    int32_t position = 0;
};

// Dynamic, write-only buffers on the device.
VertexRing CreateVertexRing(VideoDevice& device, int32_t stride, int32_t count, bool hardware);
IndexRing CreateIndexRing(VideoDevice& device, int32_t indexCount, int32_t vertexCount, bool hardware);
