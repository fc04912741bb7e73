#include "game/world/VisibilityManager.h"

#include "engine/core/FrameMessages.h"

VisibilityManager::VisibilityManager()
{
    AddIdentity(dcRender::Identity().Id());
}

void VisibilityManager::RenderPass(const Camera& camera, int32_t pass)
{
    Broadcast(dcRender{&camera, pass, 1 << pass, 0});
}
