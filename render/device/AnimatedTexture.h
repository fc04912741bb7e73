#pragma once
// A texture that stands for a list of frames and binds the current one; the
// base of animated visuals, which fill the frames and advance through them.
// It does not own its frames.

#include "engine/video/TextureResource.h"

#include <vector>

class AnimatedTexture : public TextureResource {
public:
    AnimatedTexture() : TextureResource(kTextureKindFrames) {}

    // The current frame; none while the list is empty.
    TextureResource* GetCurrent() override;
    float GetWidth() const override;
    float GetHeight() const override;
    float GetImageWidth() const override;
    float GetImageHeight() const override;
    int32_t GetFormat() const override;

    // Moves on by the time step, in seconds.
    virtual void Advance(float seconds) = 0;

protected:
    TextureResource* CurrentFrame() const;

    std::vector<TextureResource*> frames_;
    int32_t currentFrame_ = 0;
    float time_ = 0.0f;
    float framesPerSecond_ = 30.0f;
};
