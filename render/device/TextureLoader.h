#pragma once
// Readers of texture files, registered with the TextureFactory by extension.

#include "engine/files/ResourceFactory.h"

#include <memory>

class TextureResource;
class VideoDevice;

class TextureLoader : public ResourceLoader {
public:
    using ResourceLoader::ResourceLoader;

    // The texture the file holds, named after the path; none, after saying
    // why in the log, when the file cannot be read.
    virtual std::unique_ptr<TextureResource> Decode(const WideString& path, VideoDevice& device) = 0;
};

// Gives the TextureFactory its ".DCT" loader, once; done before the device is made.
void RegisterTextureLoaders();
