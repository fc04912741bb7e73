#pragma once
// The music of the main menu, "Intro.OGG": streamed, looping, in the music
// group, until the loading screen fades it out when a game starts.

class AudioDevice;
class SoundGroup;
class Voice;

// The playing voice; a silent one when the file is missing.
Voice* StartIntroMusic(AudioDevice& device, SoundGroup& musicGroup);
