#pragma once
// The messages with which a game drives its entities through each step and
// each drawn frame. They never leave the process: dcRender carries a pointer.

#include "engine/core/Message.h"

#include <cstdint>

class Camera;

// Before the physics step: read controls.
struct dcUserInput {
    DC_LOCAL_MESSAGE(dcUserInput)
    float lastPhysicsStep;   // seconds of the last physics step, 0 before the first
};

// After the physics step.
struct dcUpdate {
    DC_LOCAL_MESSAGE(dcUpdate)
    float step;   // seconds
};

// After every entity has had its dcUpdate.
struct dcFinalUpdate {
    DC_LOCAL_MESSAGE(dcFinalUpdate)
    float step;   // seconds
};

// Draw yourself in one render pass.
struct dcRender {
    DC_LOCAL_MESSAGE(dcRender)
    const Camera* camera;
    int32_t pass;      // 0 to 31
    int32_t passBit;   // 1 << pass
    int32_t reserved;  // 0
};
