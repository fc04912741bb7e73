#include "render/sprites/RendererGuiResources.h"

#include "engine/core/dcEngine.h"
#include "engine/video/TextureResource.h"
#include "engine/video/VideoDevice.h"
#include "render/device/DepthSurface.h"
#include "render/device/TextureLookup.h"

#include <vector>

namespace {

class RendererGuiResources : public GuiResources {
public:
    std::unique_ptr<TextureResource> GetTexture(const WideString& name) override
    {
        VideoDevice* video = dcEngine::Instance().GetVideoDevice();
        return video ? ::GetTexture(*video, name) : nullptr;
    }

    DepthSurface* CreateDepthSurface(const DepthDesc& desc) override
    {
        VideoDevice* video = dcEngine::Instance().GetVideoDevice();
        if (!video) {
            return nullptr;
        }
        surfaces_.push_back(video->CreateDepthStencil(desc));
        return surfaces_.back().get();
    }

private:
    // Surfaces of a device that has gone are empty shells.
    std::vector<std::unique_ptr<DepthSurface>> surfaces_;
};

} // namespace

void InstallGuiResources()
{
    static RendererGuiResources resources;
    SetGuiResources(&resources);
}
