#pragma once
// What an entity detector tells the object that watches through it (a
// mission's volume trigger) when a watched entity enters or leaves its
// volume. Only this machine's detectors raise them.

#include "engine/core/Message.h"

#include <cstdint>

struct dcVolumeEnter {
    DC_LOCAL_MESSAGE(dcVolumeEnter)
    int32_t followedId;   // the entity carrying the volume; 0 for a volume fixed in the world
    int32_t entityId;     // the watched entity
};

struct dcVolumeLeave {
    DC_LOCAL_MESSAGE(dcVolumeLeave)
    int32_t followedId;
    int32_t entityId;
};
