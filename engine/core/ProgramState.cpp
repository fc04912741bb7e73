#include "engine/core/ProgramState.h"

StartupArgumentsRecord StartupArguments;
bool TestMode = false;
float SettingsSaveCountdown = 0.0f;
Voice* IntroMusicVoice = nullptr;

bool AdvanceSettingsSaveCountdown(float frameTime)
{
    const float before = SettingsSaveCountdown;
    SettingsSaveCountdown = before - frameTime;
    return before > 0.0f && SettingsSaveCountdown <= 0.0f;
}
