#pragma once
// The menus' sounds: one-shot clicks played at the menu sound group's
// volume, which the sound settings set. The group starts at full volume.

#include "engine/audio/SoundGroup.h"
#include "engine/files/WideString.h"

SoundGroup& MenuSoundGroup();
// Nothing without an audio device, or at volume 0.
void PlayMenuSound(const WideString& name);
