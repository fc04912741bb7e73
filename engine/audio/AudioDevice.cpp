#include "engine/audio/AudioDevice.h"

#include "engine/audio/SoundLoaderFactory.h"
#include "engine/files/ResourceFactory.h"

void SoundRef::MakeDefault()
{
    fileName = L"Default";
    streamed = false;
    extra = false;
    data = std::make_unique<SilentSoundData>();
}

bool AudioDevice::FindSound(const WideString& name, SoundRef& ref)
{
    ref.fileName = SoundFactory().Resolve(name, true);
    if (ref.fileName.empty()) {
        return false;
    }
    SoundLoaderFactory* loader = FindSoundLoader(name);
    if (!loader) {
        return false;
    }
    ref.data = loader->Create(ref.fileName);
    return true;
}

Voice* AudioDevice::Play(const WideString& name, bool positional, bool streamed, bool extra)
{
    SoundRef ref;
    ref.positional = positional;
    ref.streamed = streamed;
    ref.extra = extra;
    if (!FindSound(name, ref)) {
        ref.MakeDefault();
    }
    return CreateVoice(ref);
}

void AudioDevice::PlayOnce(const WideString& name, float volume, VoiceHandle* handle)
{
    if (!(volume > 0.0f)) {
        return;
    }
    SoundRef ref;
    if (FindSound(name, ref)) {
        PlayOnceSound(ref, volume, handle);
    }
}

void AudioDevice::PlayAt(const WideString& name, const Vec3& position, float minDistance, float maxDistance,
                         float volume, VoiceHandle* handle)
{
    if (!(volume > 0.0f)) {
        return;
    }
    SoundRef ref;
    ref.positional = true;
    if (FindSound(name, ref)) {
        PlayOnceAt(ref, position, minDistance, maxDistance, volume, handle);
    }
}
