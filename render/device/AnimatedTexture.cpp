#include "render/device/AnimatedTexture.h"

TextureResource* AnimatedTexture::CurrentFrame() const
{
    if (currentFrame_ < 0 || currentFrame_ >= static_cast<int32_t>(frames_.size())) {
        return nullptr;
    }
    return frames_[currentFrame_];
}

TextureResource* AnimatedTexture::GetCurrent()
{
    return CurrentFrame();
}

float AnimatedTexture::GetWidth() const
{
    const TextureResource* frame = CurrentFrame();
    return frame ? frame->GetWidth() : 0.0f;
}

float AnimatedTexture::GetHeight() const
{
    const TextureResource* frame = CurrentFrame();
    return frame ? frame->GetHeight() : 0.0f;
}

float AnimatedTexture::GetImageWidth() const
{
    const TextureResource* frame = CurrentFrame();
    return frame ? frame->GetImageWidth() : 0.0f;
}

float AnimatedTexture::GetImageHeight() const
{
    const TextureResource* frame = CurrentFrame();
    return frame ? frame->GetImageHeight() : 0.0f;
}

int32_t AnimatedTexture::GetFormat() const
{
    const TextureResource* frame = CurrentFrame();
    return frame ? frame->GetFormat() : kTextureOther;
}
