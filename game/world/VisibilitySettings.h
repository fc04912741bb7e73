#pragma once
// The values the visibility grid and its offline compile read, which the
// level maker sets from the console in test mode. The commands join the
// game module the first time a grid is built in test mode.

#include <cstdint>

class MLP;

struct VisibilitySettings {
    int32_t splitCount = 80;        // blocks along the shorter side of the world, at the next build
    float viewDistance = 10000.0f;  // far distance of the compile's cameras
    float compileFov = 100.0f;      // field of view of the compile's cameras, degrees
    float offsetScale = 0.8f;       // how far towards the block's corners the compile's cameras stand
};

VisibilitySettings& TheVisibilitySettings();

// SPLITCOUNT, VIEWDISTANCE, the unnamed field-of-view command and
// OFFSETSCALE, each setting its value from the text argument (text without
// a number reads as 0), and VISCOMPILE, which compiles the game world's
// visibility and writes its caches. Nothing happens when the module has
// them already.
void RegisterVisibilityCommands(MLP& module);
