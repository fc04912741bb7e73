#pragma once
// The dark quads the visible cars lay under themselves. The cars hand in
// their four corners during their visibility test; all quads of a frame go
// into one window of the vertex ring and are drawn with one call in every
// pass of the shader. They stay drawable until the next fixed step clears
// them or the next quad opens a new window.
//
// A window holds kWindowQuads quads: quads beyond that in one frame are
// dropped.

#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/math/Vec3.h"
#include "render/shaders/ShaderVariableBlock.h"
#include "render/sprites/EffectQuads.h"

#include <array>
#include <cstdint>
#include <memory>

class ShaderEffect;
class TextureResource;
class VideoDevice;
struct TexturedVertex;

class dcCarShadow : public ShaderVariableBlock, public MessageReceiver {
    DC_RECEIVER(dcCarShadow, MessageReceiver)
public:
    static constexpr int32_t kRingVertices = 3072;
    static constexpr int32_t kWindowQuads = 64;

    // Without a device it counts quads but draws nothing. parent: the block
    // the shader reads further variables from (the World).
    dcCarShadow(VideoDevice* device, ShaderVariableBlock* parent);
    ~dcCarShadow() override;

    // The shadow the cars lay their quads through; none before it is made.
    static dcCarShadow* Get() { return instance_; }

    // Corners in world space, in the order of the quad's vertices 0 to 3.
    void AddQuad(const std::array<Vec3, 4>& corners);
    // Quads written since the window was opened and not yet cleared.
    int32_t GetQuadCount() const { return quadCount_; }

protected:
    void ClearQuads(const dcUpdate& message) { quadCount_ = 0; }
    void OnRender(const dcRender& message);

private:
    void OpenWindow();
    void CloseWindow();

    static inline dcCarShadow* instance_ = nullptr;

    EffectQuadBuffers quads_;
    std::unique_ptr<TextureResource> texture_;
    std::unique_ptr<ShaderEffect> shader_;
    bool windowOpen_ = false;
    TexturedVertex* window_ = nullptr;   // the open window's vertices; none without a ring
    int32_t quadCount_ = 0;
};
// handlers: dcUpdate -> ClearQuads, dcRender -> OnRender
