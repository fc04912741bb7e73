#pragma once
// Messages the engine core sends on its own.

#include "engine/core/Message.h"

// Told to a receiver once it has joined a scene. No payload.
struct dcSceneAdd {
    DC_LOCAL_MESSAGE(dcSceneAdd)
};

// Told to a receiver as it leaves a scene. No payload.
struct dcSceneDel {
    DC_LOCAL_MESSAGE(dcSceneDel)
};
