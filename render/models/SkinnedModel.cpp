#include "render/models/SkinnedModel.h"

#include "engine/files/ResourceFactory.h"
#include "engine/video/VideoDevice.h"
#include "render/models/SkinnedMesh.h"
#include "render/shaders/ShaderEffect.h"

#include <algorithm>

SkinnedModel::SkinnedModel(const WideString& fileName) : SkinnedModel(EngineVideoDevice(), fileName) {}

SkinnedModel::SkinnedModel(VideoDevice* device, const WideString& fileName) : Model(device)
{
    LoadMesh(fileName);
}

void SkinnedModel::LoadMesh(const WideString& fileName)
{
    const WideString resolved = SkinnedModelResourceFactory().Resolve(fileName, true);
    if (resolved.empty()) {
        auto empty = std::make_unique<SkinnedMesh>();
        AttachMesh(empty.get());
        ownMesh_ = std::move(empty);
        return;
    }
    auto& cache = SkinnedMeshCache();
    auto cached = std::find_if(cache.begin(), cache.end(),
                               [&resolved](const std::unique_ptr<SkinnedMesh>& mesh) { return mesh->GetKey() == resolved; });
    if (cached == cache.end()) {
        cache.push_back(std::make_unique<SkinnedMesh>(device_, resolved));
        cached = std::prev(cache.end());
    }
    AttachMesh(cached->get());
}

void SkinnedModel::AttachMesh(SkinnedMesh* mesh)
{
    softwareSkinned_ = true;
    BindMesh(mesh);
}

int32_t SkinnedModel::GetPassMask(int32_t)
{
    return ComputePassMask(0);
}

void SkinnedModel::Render(const Matrix44& world, int32_t pass, int32_t)
{
    RenderSkinned(&world, 1, pass, 0);
}

void SkinnedModel::RenderSkinned(const Matrix44* matrices, int32_t matrixCount, int32_t pass, int32_t)
{
    const int32_t bit = PassBit(pass);
    if ((passMask_ & bit) == 0 || device_ == nullptr || matrixCount < 1) {
        return;
    }
    SkinnedMesh& mesh = static_cast<SkinnedMesh&>(*mesh_);
    mesh.Skin(matrices, matrixCount);
    std::vector<SkinGeometry>& geometry = mesh.GetGeometry();
    for (const MeshNode& node : nodes_) {
        const MeshPart& part = mesh.GetParts()[node.partIndex];
        if (node.hidden || (part.passMask & bit) == 0) {
            continue;
        }
        // The skinned vertices are in world space already.
        SetWorldMatrix(Matrix44{});
        for (const DrawBatch& batch : part.batches) {
            if (batch.effect == nullptr || (static_cast<int32_t>(batch.effect->GetPassMask(0)) & bit) == 0 ||
                batch.geometryIndex >= static_cast<int32_t>(geometry.size())) {
                continue;
            }
            const SkinGeometry& buffers = geometry[batch.geometryIndex];
            for (size_t stream = 0; stream < buffers.streams.size(); ++stream) {
                device_->SetVertexStream(static_cast<int32_t>(stream), buffers.streams[stream].ring.get());
            }
            DrawMeshBatch(batch, buffers.indices.get(), buffers.format.get(), pass, 0);
        }
    }
}
