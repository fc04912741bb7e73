#pragma once
// Draws the particles of the groups: each particle layer becomes one quad
// facing the camera, written into a vertex ring, and runs of particles with
// the same texture and blend are drawn together. A group builds and draws
// its particles back to back, so groups never share a draw.
//
// One group's frame holds at most kQuadCapacity quads: a particle whose
// layers no longer fit is left out of that frame (it keeps its Visible bit).

#include "engine/core/FrameMessages.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "game/weapons/Particle.h"
#include "render/shaders/ShaderVariableBlock.h"
#include "render/sprites/EffectQuads.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class Camera;
class ShaderEffect;
class VideoDevice;

struct ParticleBatch {
    TextureResource* texture;
    int32_t drawFlags;
    int32_t quadCount;
};

class ParticleRenderer : public ShaderVariableBlock {
public:
    static constexpr int32_t kQuadCapacity = 16384;

    // Without a device it sorts particles into batches but draws nothing.
    // parent: the block the shaders read further variables from (the World).
    ParticleRenderer(VideoDevice* device, ShaderVariableBlock* parent);
    ~ParticleRenderer() override;

    // The renderer the groups draw through; none before it is made.
    static ParticleRenderer* Get() { return instance_; }

    // This frame's quads of the particles, in list order.
    void BuildVertices(const Camera& camera, const std::vector<Particle*>& particles);
    // The batches of the last build, in the payload's pass.
    void Draw(const dcRender& message);
    const std::vector<ParticleBatch>& GetBatches() const { return batches_; }

    // Sprite coordinates to world directions for a camera of this orientation.
    static Matrix44 SpriteOrientation(const Quaternion& cameraOrientation);
    // The particle's layers as quads, four vertices each.
    static void WriteQuads(const Particle& particle, const Matrix44& orientation, EffectVertexWriter& writer);

private:
    // Marks the particles drawn this frame and answers their quad count.
    static int32_t MarkDrawn(const std::vector<Particle*>& particles);
    void AddBatch(TextureResource* texture, int32_t drawFlags, int32_t quads);

    static inline ParticleRenderer* instance_ = nullptr;

    EffectQuadBuffers quads_;
    std::array<std::unique_ptr<ShaderEffect>, 2> shaders_;   // by draw flags
    std::vector<ParticleBatch> batches_;
};
