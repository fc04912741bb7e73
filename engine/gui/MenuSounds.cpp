#include "engine/gui/MenuSounds.h"

#include "engine/audio/AudioDevice.h"
#include "engine/core/dcEngine.h"

SoundGroup& MenuSoundGroup()
{
    static SoundGroup group;
    return group;
}

void PlayMenuSound(const WideString& name)
{
    if (AudioDevice* audio = dcEngine::Instance().GetAudioDevice()) {
        audio->PlayOnce(name, MenuSoundGroup().GetVolume(), nullptr);
    }
}
