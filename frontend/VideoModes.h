#pragma once
// The video modes as the options list them and the settings file keeps them:
// mode texts such as "800*600@32" (width "*" height "@" bit depth, no blanks),
// and the switch of the render device between the menus' mode and the game's.

#include "engine/files/WideString.h"
#include "engine/video/VideoDevice.h"

#include <vector>

inline constexpr VideoMode kDefaultVideoMode{800, 600, 32};

WideString VideoModeText(const VideoMode& mode);
// Each mode's text once, in the device's order.
std::vector<WideString> VideoModeTexts(const std::vector<VideoMode>& modes);
// False, and the mode untouched, for a text that is not a mode text.
bool ParseVideoModeText(const WideString& text, VideoMode& mode);

// Makes the engine's render device show the size and restarts the frame
// timer. A device already at that size is kept: making it again would only
// stall a frame and remake every resource it holds. False without a device
// or when it cannot be made.
bool SwitchVideoMode(VideoSize size);
