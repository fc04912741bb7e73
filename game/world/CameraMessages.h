#pragma once
// What the game camera asks of the entity it films, besides its place and
// frame (dcCamOrientation, dcOrientation): the mode to use for this update,
// and the framing for a mode.

#include "engine/core/Message.h"
#include "game/world/CameraPreset.h"

#include <cstdint>

// May the camera film you in this mode? The receiver may put another in its place.
struct dcCamModeOverride {
    DC_LOCAL_MESSAGE(dcCamModeOverride)
    mutable int32_t mode;
};

// Your framing for the preset's mode: sent with a zero offset and no turn,
// filled by the receiver.
struct dcCamMode {
    DC_LOCAL_MESSAGE(dcCamMode)
    mutable CameraPreset preset;
};
