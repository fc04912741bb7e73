#include "engine/audio/SoundLoaderFactory.h"

#include "engine/audio/OggSoundData.h"
#include "engine/audio/WavSoundData.h"

std::unique_ptr<SoundData> WavLoaderFactory::Create(const WideString& fileName)
{
    return std::make_unique<WavSoundData>(fileName);
}

std::unique_ptr<SoundData> OggLoaderFactory::Create(const WideString& fileName)
{
    return std::make_unique<OggSoundData>(fileName);
}

void RegisterSoundLoaders()
{
    LoaderList& loaders = SoundFactory().Loaders();
    if (!loaders.IsEmpty()) {
        return;
    }
    loaders.Append(std::make_unique<WavLoaderFactory>());
    loaders.Append(std::make_unique<OggLoaderFactory>());
}

SoundLoaderFactory* FindSoundLoader(const WideString& name)
{
    // The SoundFactory holds sound loaders only.
    return static_cast<SoundLoaderFactory*>(LoaderList::FindByExtension(SoundFactory(), name));
}
