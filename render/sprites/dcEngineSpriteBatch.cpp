// The engine's sprite batch is made here, in the renderer, because the engine
// library does not link the renderer.

#include "engine/core/dcEngine.h"
#include "render/device/VideoDevice.h"
#include "render/sprites/SpriteBatch.h"

void dcEngine::CreateSpriteBatch()
{
    if (video_) {
        spriteBatch_ = std::make_unique<SpriteBatch>(*video_);
    }
    timer_.Reset();
}
