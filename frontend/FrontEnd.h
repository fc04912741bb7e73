#pragma once
// The front end as the program's start-up sees it: the menu video mode, the
// menu screens and the game module, and the settings.

class MLP;

// The menu's 800 x 600 back buffer on the engine window; false when no
// renderer could be made.
bool SetMenuVideoMode();
// Creates every menu screen and the game module.
void BuildFrontEnd();
MLP* GetMainMenuScreen();
void SaveSettings();
