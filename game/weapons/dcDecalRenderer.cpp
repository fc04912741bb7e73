#include "game/weapons/dcDecalRenderer.h"

#include "engine/video/VideoDevice.h"
#include "game/weapons/DecalBatch.h"
#include "render/shaders/ShaderEffect.h"

dcDecalRenderer::dcDecalRenderer(VideoDevice* device, DecalRing& ring)
    : device_(device)
    , ring_(ring)
    , quads_(device, DecalRing::kFrameQuadCapacity, *this)
{
    Handles<dcGameReset, &dcDecalRenderer::OnGameReset>();
    Handles<dcRender, &dcDecalRenderer::OnRender>();
    instance_ = this;
}

dcDecalRenderer::~dcDecalRenderer()
{
    if (instance_ == this) {
        instance_ = nullptr;
    }
}

ShaderEffect* dcDecalRenderer::LoadShader(const WideString& name)
{
    for (const NamedShader& loaded : shaders_) {
        if (loaded.name == name) {
            return loaded.shader.get();
        }
    }
    if (!device_) {
        return nullptr;
    }
    std::unique_ptr<ShaderEffect> shader = device_->LoadShader(name);
    if (shader) {
        shader->SetParent(this);
    }
    shaders_.push_back({name, std::move(shader)});
    return shaders_.back().shader.get();
}

int32_t dcDecalRenderer::WriteBatch(const DecalBatch& batch, EffectVertexWriter* writer) const
{
    const std::vector<DecalQuad>& frame = ring_.GetFrameQuads();
    int32_t written = 0;
    for (int32_t index : batch.quads) {
        if (index < 0 || index >= static_cast<int32_t>(frame.size())) {
            continue;
        }
        const DecalQuad& quad = frame[static_cast<size_t>(index)];
        if (writer) {
            for (size_t corner = 0; corner < quad.corners.size(); ++corner) {
                writer->Write(quad.corners[corner], quad.colour, quad.texCoords[corner].u, quad.texCoords[corner].v);
            }
        }
        ++written;
    }
    return written;
}

void dcDecalRenderer::OnRender(const dcRender& message)
{
    if (message.pass != kDecalPass) {
        return;
    }
    int32_t total = 0;
    batchQuads_.clear();
    for (const DecalBatch* batch : batches_) {
        batchQuads_.push_back(WriteBatch(*batch, nullptr));
        total += batchQuads_.back();
    }
    if (void* vertices = total > 0 ? quads_.Lock(total) : nullptr) {
        EffectVertexWriter writer(vertices, quads_.HasFloatColour());
        for (const DecalBatch* batch : batches_) {
            WriteBatch(*batch, &writer);
        }
        quads_.Unlock(total);
        quads_.Bind();
        int32_t first = 0;
        for (size_t b = 0; b < batches_.size(); ++b) {
            if (batches_[b]->shader) {
                quads_.Draw(batches_[b]->shader, kShaderPassKey, batches_[b]->texture, first, batchQuads_[b]);
            }
            first += batchQuads_[b];
        }
    }
    EndFrame();
}

void dcDecalRenderer::EndFrame()
{
    ring_.ClearFrame();
    for (DecalBatch* batch : batches_) {
        batch->quads.clear();
    }
}
