#pragma once
// Program-wide values of one run, set by the entry function (app/) and read
// by the front end, the game and the editor; declared here, below all of
// them, so that none of them reaches up to the program.

#include <cstdint>

struct HINSTANCE__;
class Voice;

// The entry function's arguments as received; the editor started from the
// console runs with them.
struct StartupArguments {
    HINSTANCE__* instance = nullptr;
    HINSTANCE__* previousInstance = nullptr;
    wchar_t* commandLine = nullptr;
    int32_t showCommand = 0;
};

extern StartupArguments startupArguments;

// Test-only behaviour: debug commands, cache writing. Set by "-TEST".
extern bool testMode;

// Seconds until the settings are saved; every settings change restarts it.
extern float settingsSaveCountdown;

constexpr float kSettingsSaveDelay = 0.1f;

// The menu music "Intro.OGG" while it plays; the loading screen fades it out.
extern Voice* introMusicVoice;

// Counts the countdown down by the frame time; true when it crosses zero in
// this frame, which is when the settings are saved.
bool AdvanceSettingsSaveCountdown(float frameTime);
