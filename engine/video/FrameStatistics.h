#pragma once
// What drawing one frame cost, counted by the device's drawing and state code
// and shown by the engine's statistics overlay. BeginFrame starts it over.

#include <cstdint>

struct FrameStatistics {
    int32_t constantUploads = 0;       // shader-constant sets that changed the cache and reached Direct3D
    int32_t skippedConstantSets = 0;   // sets whose bytes equalled the cache
    int32_t drawCalls = 0;             // one per effect fragment drawn
    int32_t primitives = 0;            // once per draw, however many fragments it took
    int32_t vertices = 0;
    int32_t textureSwitches = 0;       // changes of a texture-stage binding, unbinding included
};
