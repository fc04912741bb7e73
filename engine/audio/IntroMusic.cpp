#include "engine/audio/IntroMusic.h"

#include "engine/audio/AudioDevice.h"
#include "engine/audio/Voice.h"

Voice* StartIntroMusic(AudioDevice& device, SoundGroup& musicGroup)
{
    Voice* voice = device.Play(L"Intro.OGG", false, true, false);
    musicGroup.Add(*voice);
    voice->Play(true);
    return voice;
}
