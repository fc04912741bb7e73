#pragma once
// The sound loaders the SoundFactory holds, one per kind of sound file,
// chosen by the upper-cased extension of the name a sound is asked for by.

#include "engine/audio/SoundData.h"
#include "engine/files/ResourceFactory.h"

#include <memory>

class SoundLoaderFactory : public ResourceLoader {
public:
    using ResourceLoader::ResourceLoader;

    // Never null: a file that fails its checks gives data that delivers nothing.
    virtual std::unique_ptr<SoundData> Create(const WideString& fileName) = 0;
};

class WavLoaderFactory : public SoundLoaderFactory {
public:
    WavLoaderFactory() : SoundLoaderFactory({L".WAV"}) {}
    std::unique_ptr<SoundData> Create(const WideString& fileName) override;
};

class OggLoaderFactory : public SoundLoaderFactory {
public:
    OggLoaderFactory() : SoundLoaderFactory({L".OGG"}) {}
    std::unique_ptr<SoundData> Create(const WideString& fileName) override;
};

// The engine's initialisation appends the WAV loader, then the OGG loader,
// to the SoundFactory; once it holds loaders, later calls add nothing.
void RegisterSoundLoaders();
// The SoundFactory's loader for the name; none (logged when loaders exist)
// when no extension fits.
SoundLoaderFactory* FindSoundLoader(const WideString& name);
