#pragma once
// The two groups the volume settings act on: sound effects, and music (the
// intro music and the missions' music). Both start at full volume.

#include "engine/audio/SoundGroup.h"

SoundGroup& EffectsSoundGroup();
SoundGroup& MusicSoundGroup();
