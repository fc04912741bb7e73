#pragma once
// Messages of the game's entities that the missions use too: the per-mission
// reset, the position query, and the drawing of mission nodes inside the
// world while the mission editor shows them. None leaves the process.

#include "engine/core/Message.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"

#include <cstdint>

class Camera;

// End of the current mission, or its restart: release or clear.
struct dcGameReset {
    DC_LOCAL_MESSAGE(dcGameReset)
    enum Reason : uint8_t {
        kEndOfGame = 0,   // the game module ends the game mode
        kRestart = 1,     // the game mode reloads its mission
    };
    uint8_t reason;
};

// Where are you? Filled by the receiver; the sender keeps these values when nobody answers.
struct dcOrientation {
    DC_LOCAL_MESSAGE(dcOrientation)
    mutable Vec3 position;            // (0, 0, 0) when sent
    mutable Quaternion orientation;   // (0, 0, 0, 1) when sent
};

// Draw yourself for the mission editor's view of the world, in this pass.
struct dcTriggerRender {
    DC_LOCAL_MESSAGE(dcTriggerRender)
    const Camera* camera;
    int32_t pass;      // 0 to 31
    int32_t passBit;   // 1 << pass
};
