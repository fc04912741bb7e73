#include "engine/core/ProgramState.h"

StartupArguments startupArguments;
bool testMode = false;
float settingsSaveCountdown = 0.0f;
Voice* introMusicVoice = nullptr;

bool AdvanceSettingsSaveCountdown(float frameTime)
{
    const float before = settingsSaveCountdown;
    settingsSaveCountdown = before - frameTime;
    return before > 0.0f && settingsSaveCountdown <= 0.0f;
}
