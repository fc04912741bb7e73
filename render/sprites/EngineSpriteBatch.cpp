#include "render/sprites/EngineSpriteBatch.h"

#include "engine/core/dcEngine.h"
#include "engine/video/VideoDevice.h"
#include "render/sprites/SpriteBatch.h"

void CreateSpriteBatch(dcEngine& engine)
{
    if (VideoDevice* video = engine.GetVideoDevice()) {
        engine.SetSpriteBatch(std::make_unique<SpriteBatch>(*video));
    }
    engine.GetTimer().Reset();
}
