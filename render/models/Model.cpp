#include "render/models/Model.h"

#include "engine/core/dcEngine.h"
#include "engine/files/ResourceFactory.h"
#include "engine/video/VideoDevice.h"
#include "render/device/IndexBuffer.h"
#include "render/device/VertexBuffer.h"
#include "render/device/VertexFormat.h"
#include "render/models/Mesh.h"
#include "render/shaders/ShaderEffect.h"

#include <algorithm>

namespace {

// Where the running box of the nodes starts; a model without nodes keeps
// these, a box turned inside out.
constexpr float kBoundsStart = 1e8f;

} // namespace

VideoDevice* EngineVideoDevice()
{
    return dcEngine::Instance().GetVideoDevice();
}

int32_t PassBit(int32_t pass)
{
    return pass >= 0 && pass < 32 ? static_cast<int32_t>(1u << pass) : 0;
}

Model::Model(VideoDevice* device) : device_(device) {}

Model::Model(const WideString& meshName, const WideString& textureSuffix)
    : Model(EngineVideoDevice(), meshName, textureSuffix)
{
}

Model::Model(VideoDevice* device, const WideString& meshName, const WideString& textureSuffix) : device_(device)
{
    LoadMesh(meshName, textureSuffix);
}

Model::~Model()
{
    ReleaseMesh();
}

void Model::LoadMesh(const WideString& name, const WideString& suffix)
{
    const WideString resolved = ModelResourceFactory().Resolve(name, true);
    if (resolved.empty()) {
        auto empty = std::make_unique<Mesh>();
        AttachMesh(empty.get());
        ownMesh_ = std::move(empty);
        return;
    }
    const WideString key = resolved + suffix;
    std::vector<Mesh*>& cache = MeshCache();
    auto cached = std::find_if(cache.begin(), cache.end(), [&key](const Mesh* mesh) { return mesh->GetKey() == key; });
    if (cached != cache.end()) {
        AttachMesh(*cached);
        return;
    }
    // A mesh that failed to load is cached all the same, and never read again.
    cache.push_back(new Mesh(device_, resolved, suffix));
    AttachMesh(cache.back());
}

void Model::AttachMesh(MeshData* mesh)
{
    softwareSkinned_ = false;
    BindMesh(mesh);
    userValue = 0;
}

void Model::BindMesh(MeshData* mesh)
{
    worldVariable_ = AddVariable(L"World", kShaderMatrix, false);
    // A model attached again lets go of its previous mesh.
    if (mesh != mesh_) {
        ReleaseMesh();
        mesh_ = mesh;
        ++mesh_->referenceCount;
    }
    nodes_ = mesh_->GetNodes();
    tapes_ = mesh_->GetTapes();
    Vec3 low{kBoundsStart, kBoundsStart, kBoundsStart};
    Vec3 high{-kBoundsStart, -kBoundsStart, -kBoundsStart};
    for (const MeshNode& node : nodes_) {
        const Vec3 lo = node.worldBounds.centre - node.worldBounds.halfExtents;
        const Vec3 hi = node.worldBounds.centre + node.worldBounds.halfExtents;
        low = {std::min(low.x, lo.x), std::min(low.y, lo.y), std::min(low.z, lo.z)};
        high = {std::max(high.x, hi.x), std::max(high.y, hi.y), std::max(high.z, hi.z)};
    }
    boundsCentre_ = (low + high) * 0.5f;
    boundsHalfExtents_ = high - boundsCentre_;
    GetPassMask(0);
}

// The mesh's effects forget this model; a cached static mesh goes with its
// last model, skinned meshes stay cached for the whole run.
void Model::ReleaseMesh()
{
    if (mesh_ == nullptr) {
        return;
    }
    for (MeshPart& part : mesh_->GetParts()) {
        for (DrawBatch& batch : part.batches) {
            if (batch.effect != nullptr && batch.effect->GetParent() == this) {
                batch.effect->SetParent(nullptr);
            }
        }
    }
    MeshData* released = mesh_;
    mesh_ = nullptr;
    --released->referenceCount;
    if (ownMesh_.get() == released) {
        ownMesh_.reset();
        return;
    }
    std::vector<Mesh*>& cache = MeshCache();
    auto cached = std::find(cache.begin(), cache.end(), released);
    if (cached == cache.end() || released->referenceCount > 0) {
        return;
    }
    cache.erase(cached);
    delete static_cast<Mesh*>(released);
}

int32_t Model::ComputePassMask(int32_t effectKey)
{
    int32_t mask = 0;
    std::vector<MeshPart>& parts = mesh_->GetParts();
    for (const MeshNode& node : nodes_) {
        MeshPart& part = parts[node.partIndex];
        part.passMask = 0;
        for (DrawBatch& batch : part.batches) {
            batch.passMask = batch.effect != nullptr ? static_cast<int32_t>(batch.effect->GetPassMask(effectKey)) : 0;
            part.passMask |= batch.passMask;
        }
        mask |= part.passMask;
    }
    passMask_ = mask;
    return mask;
}

int32_t Model::GetPassMask(int32_t detail)
{
    maskDetail_ = detail;
    return ComputePassMask(detail);
}

MeshNode* Model::FindNode(const WideString& name)
{
    auto found = std::find_if(nodes_.begin(), nodes_.end(), [&name](const MeshNode& node) { return node.name == name; });
    return found != nodes_.end() ? &*found : nullptr;
}

const Tape* Model::FindTape(const WideString& name) const
{
    auto found = std::find_if(tapes_.begin(), tapes_.end(), [&name](const Tape& tape) { return tape.name == name; });
    return found != tapes_.end() ? &*found : nullptr;
}

void Model::SetWorldMatrix(const Matrix44& world)
{
    worldMatrix_ = Matrix44::Transpose(world);
    SetMatrix(worldVariable_, &worldMatrix_.m[0][0]);
}

void Model::DrawMeshBatch(const DrawBatch& batch, IndexBuffer* indices, const VertexFormat* format, int32_t pass,
                      int32_t styleKey)
{
    device_->SetIndexBuffer(indices);
    device_->SetVertexFormat(format);
    batch.effect->SetParent(this);
    device_->SetShader(batch.effect, pass, styleKey);
    device_->DrawIndexed(batch.indices, batch.vertices, kTriangleList);
}

void Model::RenderSkinned(const Matrix44* matrices, int32_t, int32_t pass, int32_t detail)
{
    Render(matrices[0], pass, detail);
}

void Model::Render(const Matrix44& world, int32_t pass, int32_t detail)
{
    if (maskDetail_ != detail) {
        GetPassMask(detail);
    }
    const int32_t bit = PassBit(pass);
    if ((passMask_ & bit) == 0 || device_ == nullptr) {
        return;
    }
    const Mesh& mesh = static_cast<const Mesh&>(*mesh_);
    const std::vector<GeometryBuffers>& geometry = mesh.GetGeometry();
    for (const MeshNode& node : nodes_) {
        const MeshPart& part = mesh_->GetParts()[node.partIndex];
        if (node.hidden || (part.passMask & bit) == 0) {
            continue;
        }
        const Matrix44 local = node.GetTransform();
        SetWorldMatrix(node.attached ? Matrix44::Multiply(local, world) : local);
        for (const DrawBatch& batch : part.batches) {
            // A mesh made without a device has no buffers to draw from.
            if (batch.effect == nullptr || (static_cast<int32_t>(batch.effect->GetPassMask(detail)) & bit) == 0 ||
                batch.geometryIndex >= static_cast<int32_t>(geometry.size())) {
                continue;
            }
            const GeometryBuffers& buffers = geometry[batch.geometryIndex];
            for (size_t stream = 0; stream < buffers.streams.size(); ++stream) {
                device_->SetVertexStream(static_cast<int32_t>(stream), buffers.streams[stream].get());
            }
            DrawMeshBatch(batch, buffers.indices.get(), buffers.format.get(), pass, detail);
        }
    }
}
