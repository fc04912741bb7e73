#pragma once
// Draws, in render pass 1, every decal quad submitted since its last draw,
// batch by batch in the order the batches were registered, then empties the
// frame's lists. A game reset ends every decal of the ring.

#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "game/weapons/DecalRing.h"
#include "game/world/GameMessages.h"
#include "render/shaders/ShaderVariableBlock.h"
#include "render/sprites/EffectQuads.h"

#include <cstdint>
#include <memory>
#include <vector>

class DecalBatch;
class ShaderEffect;
class VideoDevice;

class dcDecalRenderer : public ShaderVariableBlock, public MessageReceiver {
    DC_RECEIVER(dcDecalRenderer, MessageReceiver)
public:
    static constexpr int32_t kDecalPass = 1;
    static constexpr int32_t kShaderPassKey = 3;   // the shaders' pass the decals draw with

    // Without a device it empties the frame's lists but draws nothing.
    dcDecalRenderer(VideoDevice* device, DecalRing& ring);
    ~dcDecalRenderer() override;

    // The renderer the decal kinds register with; none before it is made.
    static dcDecalRenderer* Get() { return instance_; }

    // The shader of that name, loaded once and shared, reading "Tex0" and
    // "World" from this renderer; none without a device.
    ShaderEffect* LoadShader(const WideString& name);
    // Batches are drawn in the order added and never removed.
    void AddBatch(DecalBatch* batch) { batches_.push_back(batch); }

protected:
    void OnGameReset(const dcGameReset& message) { ring_.Clear(); }
    void OnRender(const dcRender& message);

private:
    struct NamedShader {
        WideString name;
        std::unique_ptr<ShaderEffect> shader;
    };

    // The batch's quads that lie in the frame's list, written as vertices; how many.
    int32_t WriteBatch(const DecalBatch& batch, EffectVertexWriter* writer) const;
    void EndFrame();

    static inline dcDecalRenderer* instance_ = nullptr;

    VideoDevice* device_;
    DecalRing& ring_;
    EffectQuadBuffers quads_;
    std::vector<NamedShader> shaders_;
    std::vector<DecalBatch*> batches_;
    std::vector<int32_t> batchQuads_;   // this frame's, by batch
};
// handlers: dcGameReset -> OnGameReset, dcRender -> OnRender
