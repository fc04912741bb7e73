#pragma once
// The messages every mission node understands. Only dcTriggerMessage crosses
// the network: the host replays each firing on its clients. The others carry
// pointers or stand for local requests.

#include "engine/core/FixedLayout.h"
#include "engine/core/Message.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"

#include <cstdint>
#include <vector>

class DumpReader;
class DumpWriter;

// Fire: the sender is the node that fired, or the id a node passes on.
struct dcTriggerMessage {
    DC_MESSAGE(dcTriggerMessage)
    int32_t sender;
};
DC_FIXED_LAYOUT(dcTriggerMessage, 4);

// Which entities do you stand for? The receiver appends their ids to the
// asker's list (creation nodes replace it with what they made).
struct dcGetTriggerTarget {
    DC_LOCAL_MESSAGE(dcGetTriggerTarget)
    std::vector<int32_t>* ids;
};

// Only whether a node handles it counts: such nodes are fired after the others.
struct dcTriggerDelay {
    DC_LOCAL_MESSAGE(dcTriggerDelay)
    uint8_t unused;
};

struct dcTriggerEnable {
    DC_LOCAL_MESSAGE(dcTriggerEnable)
    uint8_t unused;
};

struct dcTriggerDisable {
    DC_LOCAL_MESSAGE(dcTriggerDisable)
    uint8_t unused;
};

// Are you enabled? The node writes its flag.
struct dcTriggerEnabled {
    DC_LOCAL_MESSAGE(dcTriggerEnabled)
    mutable uint8_t enabled;
};

// Leave the scene; the node goes after the delivery under way.
struct dcTriggerDestroy {
    DC_LOCAL_MESSAGE(dcTriggerDestroy)
    uint8_t unused;
};

// Counting and timing nodes go back to their loaded state.
struct dcTriggerReset {
    DC_LOCAL_MESSAGE(dcTriggerReset)
    uint8_t unused;
};

// Write your settings into the dump.
struct dcSerializeSave {
    DC_LOCAL_MESSAGE(dcSerializeSave)
    DumpWriter* writer;
};

// Read your settings from the dump.
struct dcSerializeLoad {
    DC_LOCAL_MESSAGE(dcSerializeLoad)
    DumpReader* reader;
};

// A node's pose as stored, not placed on what it is attached to.
struct dcTriggerOrientation {
    DC_LOCAL_MESSAGE(dcTriggerOrientation)
    mutable Vec3 position;
    mutable Quaternion orientation;
};
