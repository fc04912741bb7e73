#include "engine/audio/SoundGroups.h"

SoundGroup& EffectsSoundGroup()
{
    static SoundGroup group;
    return group;
}

SoundGroup& MusicSoundGroup()
{
    static SoundGroup group;
    return group;
}
