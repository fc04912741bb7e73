#pragma once
// Decides, per camera, which entities of the game scene are drawn and sends
// them dcRender in each render pass. Until sectors and occlusion tests
// exist, every entity that draws is drawn: the manager follows the scene's
// members that handle dcRender and hands each pass to all of them.

#include "engine/core/MessageChannel.h"

#include <cstdint>

class Camera;

class VisibilityManager : public MessageChannel {
public:
    VisibilityManager();

    // dcRender {camera, pass, 1 << pass, 0} to the entities drawn for the camera.
    void RenderPass(const Camera& camera, int32_t pass);
};
