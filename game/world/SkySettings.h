#pragma once
// The sky the world draws behind everything. For now a level's sky is the
// sky picture "Sky.DCT" stretched over the view; the sky model, its lighting
// and flare settings come with the level's sky folders.

#include <memory>

class Camera;
class TextureResource;

class SkySettings {
public:
    SkySettings();
    ~SkySettings();
    SkySettings(const SkySettings&) = delete;
    SkySettings& operator=(const SkySettings&) = delete;

    void Draw(const Camera& camera);

private:
    std::unique_ptr<TextureResource> picture_;   // none without a video device
};
