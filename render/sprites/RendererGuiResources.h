#pragma once
// The renderer's side of the GUI's resources, on the engine's video device.

#include "engine/gui/GuiResources.h"

// Installs the renderer's maker for the console and the menus; done once at
// start-up, before any menu screen is built.
void InstallGuiResources();
