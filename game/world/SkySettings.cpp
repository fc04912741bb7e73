#include "game/world/SkySettings.h"

#include "engine/core/dcEngine.h"
#include "engine/video/TextureResource.h"
#include "render/device/TextureLookup.h"
#include "render/models/Camera.h"
#include "render/sprites/SpriteBatch.h"

SkySettings::SkySettings()
{
    if (VideoDevice* video = dcEngine::Instance().GetVideoDevice()) {
        picture_ = GetTexture(*video, L"Sky.DCT");
    }
}

SkySettings::~SkySettings() = default;

void SkySettings::Draw(const Camera& camera)
{
    SpriteDrawer* batch = dcEngine::Instance().GetSpriteBatch();
    if (!picture_ || !batch) {
        return;
    }
    const ScreenRect& view = camera.GetViewport();
    batch->DrawImageRect(picture_.get(), {0.0f, 0.0f, picture_->GetImageWidth(), picture_->GetImageHeight()},
                         {static_cast<float>(view.left), static_cast<float>(view.top), static_cast<float>(view.right),
                          static_cast<float>(view.bottom)},
                         {1.0f, 1.0f, 1.0f, 1.0f}, SolidSpriteShader);
}
