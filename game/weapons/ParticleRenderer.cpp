#include "game/weapons/ParticleRenderer.h"

#include "engine/video/VideoDevice.h"
#include "render/models/Camera.h"
#include "render/shaders/ShaderEffect.h"

#include <cmath>

namespace {

const wchar_t* const kShaderFiles[] = {L"dcParticle_Mod.DCS", L"dcParticle_Add.DCS"};
constexpr float kHalfTurn = 3.14159265f;

// The corner turned by the angle whose cosine and sine are given.
Vec3 Turned(float x, float y, float cosine, float sine)
{
    return {x * cosine - y * sine, x * sine + y * cosine, 0.0f};
}

} // namespace

ParticleRenderer::ParticleRenderer(VideoDevice* device, ShaderVariableBlock* parent)
    : quads_(device, kQuadCapacity, *this)
{
    SetParent(parent);
    if (device) {
        for (size_t flags = 0; flags < shaders_.size(); ++flags) {
            shaders_[flags] = device->LoadShader(kShaderFiles[flags]);
            if (shaders_[flags]) {
                shaders_[flags]->SetParent(this);
            }
        }
    }
    instance_ = this;
}

ParticleRenderer::~ParticleRenderer()
{
    if (instance_ == this) {
        instance_ = nullptr;
    }
}

Matrix44 ParticleRenderer::SpriteOrientation(const Quaternion& cameraOrientation)
{
    const Quaternion facing =
        Quaternion::Multiply(cameraOrientation, Quaternion::FromAxisAngle({0.0f, 1.0f, 0.0f}, kHalfTurn));
    Matrix44 orientation;
    Quaternion::ToMatrix(Quaternion::Conjugate(facing), orientation);
    return orientation;
}

int32_t ParticleRenderer::MarkDrawn(const std::vector<Particle*>& particles)
{
    int32_t quads = 0;
    for (Particle* particle : particles) {
        const int32_t layers = static_cast<int32_t>(particle->layers.size());
        const bool drawn = particle->Has(kParticleVisible) && quads + layers <= kQuadCapacity;
        particle->Set(kParticleDrawn, drawn);
        if (!drawn) {
            continue;
        }
        quads += layers;
        if (particle->Has(kParticleDrawOnce)) {
            particle->Set(kParticleVisible, false);
        }
    }
    return quads;
}

void ParticleRenderer::AddBatch(TextureResource* texture, int32_t drawFlags, int32_t quads)
{
    if (quads > 0) {
        batches_.push_back({texture, drawFlags, quads});
    }
}

void ParticleRenderer::BuildVertices(const Camera& camera, const std::vector<Particle*>& particles)
{
    batches_.clear();
    const int32_t total = MarkDrawn(particles);
    if (total == 0) {
        return;
    }
    const Matrix44 orientation = SpriteOrientation(camera.GetOrientation());
    void* vertices = quads_.Lock(total);
    if (quads_.HasRing() && !vertices) {
        return;   // nothing to draw from this frame
    }
    EffectVertexWriter writer(vertices, quads_.HasFloatColour());
    TextureResource* texture = particles.front()->texture;
    int32_t drawFlags = particles.front()->drawFlags;
    int32_t run = 0;
    for (const Particle* particle : particles) {
        if (!particle->Has(kParticleDrawn)) {
            continue;
        }
        if (particle->texture != texture || particle->drawFlags != drawFlags) {
            AddBatch(texture, drawFlags, run);
            run = 0;
            texture = particle->texture;
            drawFlags = particle->drawFlags;
        }
        if (vertices) {
            WriteQuads(*particle, orientation, writer);
        }
        run += static_cast<int32_t>(particle->layers.size());
    }
    if (vertices) {
        quads_.Unlock(total);
    }
    AddBatch(texture, drawFlags, run);
}

// The sprite's two axes in the world, turned about the view, are worked out
// once; each corner is then the position plus a mix of them.
void ParticleRenderer::WriteQuads(const Particle& particle, const Matrix44& orientation, EffectVertexWriter& writer)
{
    const bool turned = particle.rotation != 0.0f;
    const float cosine = turned ? std::cos(-particle.rotation) : 1.0f;
    const float sine = turned ? std::sin(-particle.rotation) : 0.0f;
    const Vec3 across = Vec3::TransformDirection(Turned(1.0f, 0.0f, cosine, sine), orientation);
    const Vec3 up = Vec3::TransformDirection(Turned(0.0f, 1.0f, cosine, sine), orientation);
    const auto corner = [&](float x, float y) { return particle.position + across * x + up * y; };
    for (const ParticleLayer& layer : particle.layers) {
        const float x0 = 2.0f * layer.x;
        const float y0 = 2.0f * layer.y;
        const float x1 = 2.0f * (layer.x + layer.w);
        const float y1 = 2.0f * (layer.y + layer.h);
        const Vec3 corners[4] = {corner(x0, y0), corner(x0, y1), corner(x1, y0), corner(x1, y1)};
        const float texCoords[4][2] = {
            {layer.tu0, layer.tv1}, {layer.tu0, layer.tv0}, {layer.tu1, layer.tv1}, {layer.tu1, layer.tv0}};
        writer.WriteQuad(corners, particle.colour, texCoords);
    }
}

void ParticleRenderer::Draw(const dcRender& message)
{
    if (batches_.empty()) {
        return;
    }
    quads_.Bind();
    int32_t first = 0;
    for (const ParticleBatch& batch : batches_) {
        const bool known = batch.drawFlags >= 0 && batch.drawFlags < static_cast<int32_t>(shaders_.size());
        ShaderEffect* shader = known ? shaders_[static_cast<size_t>(batch.drawFlags)].get() : nullptr;
        if (shader && (static_cast<int32_t>(shader->GetPassMask(0)) & message.passBit) != 0) {
            quads_.Draw(shader, message.pass, batch.texture, first, batch.quadCount);
        }
        first += batch.quadCount;
    }
}
