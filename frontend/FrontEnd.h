#pragma once
// The front end as the program's start-up sees it: the menu video mode, the
// menu screens and the game module, and the settings.

class MLP;

// The menu's 800 x 600 back buffer on the engine window, and the menu sounds
// at the sound volume; false when no renderer could be made.
bool SetMenuVideoMode();
// Creates every menu screen and the game module, then loads the settings; in
// test mode the main menu takes LOADSCRIPT.
void BuildFrontEnd();
MLP* GetMainMenuScreen();
// Back to the main menu from a load that failed: there is no game to resume.
void ReturnToMainMenu();
// The test mission: "Scripts\Autoload.dcScript" on "Maps\Test.DCW", with the
// main menu's resume item enabled for when the player leaves it.
void StartTestGame();
// The game module and the menus go, while the devices they used still exist.
void ShutdownFrontEnd();
// Writes "Misc\Config.VKS": when the settings-save countdown runs out and at shutdown.
void SaveSettings();
