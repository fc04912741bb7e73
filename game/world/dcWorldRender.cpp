#include "game/world/dcWorldRender.h"

#include "engine/core/LogHub.h"
#include "engine/physics/PhysicsGeom.h"
#include "engine/video/VideoDevice.h"
#include "game/world/DynamicObjectState.h"
#include "game/world/GameModule.h"
#include "game/world/ObjectMesh.h"
#include "game/world/dcWorldObject.h"
#include "render/device/IndexBuffer.h"
#include "render/device/VertexBuffer.h"
#include "render/device/VertexFormat.h"
#include "render/models/Camera.h"
#include "render/models/Model.h"
#include "render/shaders/ShaderEffect.h"
#include "render/sprites/VertexRing.h"

namespace {

constexpr int32_t kPlainStyle = 0;
constexpr int32_t kLeafStyle = 1;
constexpr int32_t kCurrentStyleKey = 0;
const WideString kOcclusionStyle = L"OcclusionTest";

bool DrawsInPass(const ShaderEffect* effect, int32_t passBit)
{
    return effect && (static_cast<int32_t>(effect->GetPassMask(kCurrentStyleKey)) & passBit) != 0;
}

} // namespace

struct dcWorldRender::Rings {
    VertexRing vertices;
    IndexRing indices;
};

dcWorldRender::dcWorldRender(VideoDevice* device, ShaderVariableBlock& world,
                             const std::vector<GeometryBuffers>& geometry)
    : device_(device)
    , world_(world)
    , geometry_(geometry)
    , worldVariable_(world.AddVariable(L"World", kShaderMatrix, false))
    , rings_(std::make_unique<Rings>())
{
    if (device_) {
        rings_->vertices = CreateVertexRing(*device_, sizeof(StreamingVertex), kRingVertices, true);
        rings_->indices = CreateIndexRing(*device_, kRingIndices, kRingVertices, true);
    }
    Handles<dcGameReset, &dcWorldRender::OnGameReset>();
    Handles<dcUpdate, &dcWorldRender::OnUpdate>();
    Handles<dcCollisionCull, &dcWorldRender::OnCollisionCull>();
}

dcWorldRender::~dcWorldRender() = default;

// Every prop resets itself on the same message.
void dcWorldRender::OnGameReset(const dcGameReset&)
{
    ActiveDynamicObjects().clear();
}

void dcWorldRender::OnUpdate(const dcUpdate& message)
{
    if (GameModule* game = GameModule::Get()) {
        UpdateActiveDynamicObjects(message.step, game->GetViewCamera());
    }
}

void dcWorldRender::OnCollisionCull(const dcCollisionCull& message)
{
    if (!message.other || message.other->HasFlag(kGeomAlwaysCollide)) {
        message.collide = 1;
        return;
    }
    GameModule* game = GameModule::Get();
    if (!game) {
        return;
    }
    const Vec3 offset = message.other->GetPosition() - game->GetViewCamera().GetPosition();
    message.collide = Vec3::Dot(offset, offset) <= kPropCollisionRangeSquared ? 1 : 0;
}

void dcWorldRender::SetStreamingFormat(std::unique_ptr<VertexFormat> format)
{
    streamingFormat_ = std::move(format);
}

void dcWorldRender::ClearStreamingGeometry()
{
    streamingFormat_.reset();
    streamingVertices_.clear();
    streamingIndices_.clear();
}

void dcWorldRender::ClearDrawLists()
{
    for (MaterialDrawList& list : MaterialDrawLists()) {
        list.items.clear();
    }
    transformedObjects_ = 0;
}

void dcWorldRender::AddDrawItem(MaterialDrawList& list, dcWorldObject* object, int32_t range, float weight)
{
    list.items.push_back({object, range, weight});
}

const MeshDrawRange* dcWorldRender::StreamingRange(const MaterialDrawItem& item) const
{
    const ObjectMesh* mesh = item.object ? item.object->mesh : nullptr;
    if (!mesh || item.range < 0 || item.range >= static_cast<int32_t>(mesh->ranges.size())) {
        return nullptr;
    }
    const MeshDrawRange& range = mesh->ranges[static_cast<size_t>(item.range)];
    const auto fits = [](int32_t first, int32_t count, size_t size) {
        return first >= 0 && count >= 0 && static_cast<int64_t>(first) + count <= static_cast<int64_t>(size);
    };
    if (range.geometry != kStreamingGeometry || !fits(range.firstVertex, range.vertexCount, streamingVertices_.size()) ||
        !fits(range.firstIndex, range.indexCount, streamingIndices_.size())) {
        return nullptr;
    }
    return &range;
}

dcWorldRender::PackTotals dcWorldRender::SumStreamingItems() const
{
    PackTotals sums;
    for (const MaterialDrawList& list : MaterialDrawLists()) {
        for (const MaterialDrawItem& item : list.items) {
            if (const MeshDrawRange* range = StreamingRange(item)) {
                sums.vertices += range->vertexCount;
                sums.indices += range->indexCount;
            }
        }
    }
    return sums;
}

void dcWorldRender::ZeroPackedRanges()
{
    for (MaterialDrawList& list : MaterialDrawLists()) {
        list.packedIndexStart = list.packedIndexCount = 0;
        list.packedVertexStart = list.packedVertexCount = 0;
    }
}

void dcWorldRender::PackMovingGeometry()
{
    const PackTotals sums = SumStreamingItems();
    // Too much for the rings: last frame's ranges may have been overwritten
    // since, so nothing is drawn from the rings rather than stale geometry.
    if ((sums.vertices == 0 && sums.indices == 0) || sums.vertices > kRingVertices || sums.indices > kRingIndices) {
        ZeroPackedRanges();
        return;
    }
    StreamingVertex* vertices = nullptr;
    if (rings_->vertices.buffer && rings_->indices.buffer) {
        const RingReservation vertexPlace = ReserveRing(rings_->vertices.position, sums.vertices, kRingVertices);
        const RingReservation indexPlace = ReserveRing(rings_->indices.position, sums.indices, kRingIndices);
        vertices = static_cast<StreamingVertex*>(
            rings_->vertices.buffer->Lock({vertexPlace.start, sums.vertices}, vertexPlace.lockFlags));
        lockedIndices_ = rings_->indices.buffer->Lock({indexPlace.start, sums.indices}, indexPlace.lockFlags)
                             ? rings_->indices.buffer.get()
                             : nullptr;
        rings_->vertices.position = vertexPlace.start + sums.vertices;
        rings_->indices.position = indexPlace.start + sums.indices;
        rings_->vertices.buffer->SetRingPosition(vertexPlace.start);
        rings_->indices.buffer->SetRingPosition(indexPlace.start);
    }
    PackTotals totals;
    for (MaterialDrawList& list : MaterialDrawLists()) {
        PackList(list, totals, vertices);
    }
    if (vertices) {
        rings_->vertices.buffer->Unlock();
    }
    if (lockedIndices_) {
        lockedIndices_->Unlock();
        lockedIndices_ = nullptr;
    }
}

// From the last item to the first.
void dcWorldRender::PackList(MaterialDrawList& list, PackTotals& totals, StreamingVertex* vertices)
{
    list.packedVertexStart = totals.vertices;
    list.packedIndexStart = totals.indices;
    for (auto item = list.items.rbegin(); item != list.items.rend(); ++item) {
        const MeshDrawRange* range = StreamingRange(*item);
        if (!range) {
            continue;
        }
        PackItem(*item, *range, totals, vertices);
        totals.vertices += range->vertexCount;
        totals.indices += range->indexCount;
    }
    list.packedVertexCount = totals.vertices - list.packedVertexStart;
    list.packedIndexCount = totals.indices - list.packedIndexStart;
}

void dcWorldRender::PackItem(const MaterialDrawItem& item, const MeshDrawRange& range, const PackTotals& totals,
                             StreamingVertex* vertices)
{
    const bool inWorldSpace = item.object->mesh->worldSpace != 0;
    if (!inWorldSpace) {
        ++transformedObjects_;
    }
    if (vertices) {
        const StreamingVertex* source = &streamingVertices_[static_cast<size_t>(range.firstVertex)];
        StreamingVertex* target = vertices + totals.vertices;
        const Matrix44 pose = item.object->GetCurrentTransform();
        for (int32_t v = 0; v < range.vertexCount; ++v) {
            target[v] = source[v];
            if (!inWorldSpace) {
                target[v].position = Vec3::TransformPoint(source[v].position, pose);
                target[v].normal = Vec3::TransformDirection(source[v].normal, pose);
            }
        }
    }
    if (lockedIndices_) {
        const int32_t shift = totals.vertices - range.firstVertex;
        for (int32_t i = 0; i < range.indexCount; ++i) {
            const int32_t index = streamingIndices_[static_cast<size_t>(range.firstIndex + i)] & 0xFFFF;
            *lockedIndices_->ElementPointer(totals.indices + i) = static_cast<uint32_t>(index + shift);
        }
    }
}

void dcWorldRender::SetWorldMatrix(const Matrix44& transform)
{
    worldMatrix_ = Matrix44::Transpose(transform);
    world_.SetMatrix(worldVariable_, &worldMatrix_.m[0][0]);
}

void dcWorldRender::RenderPass(const Camera& camera, int32_t pass)
{
    if (!device_) {
        return;
    }
    const int32_t passBit = PassBit(pass);
    device_->SetVertexStream(0, rings_->vertices.buffer.get());
    device_->SetIndexBuffer(rings_->indices.buffer.get());
    device_->SetVertexFormat(streamingFormat_.get());
    SetWorldMatrix(kIdentityMatrix);
    device_->SetMeasuredObject(&camera, BoundingBox{});
    DrawPackedLists(pass, passBit);
    for (MaterialDrawList& list : MaterialDrawLists()) {
        if (!list.items.empty() && DrawsInPass(list.effect, passBit)) {
            DrawListItems(camera, list, pass);
        }
    }
    device_->SetMeasuredObject(nullptr, BoundingBox{});
}

void dcWorldRender::DrawPackedLists(int32_t pass, int32_t passBit)
{
    for (MaterialDrawList& list : MaterialDrawLists()) {
        if (list.packedIndexCount == 0 || !DrawsInPass(list.effect, passBit)) {
            continue;
        }
        device_->SetShader(list.effect, pass, kCurrentStyleKey);
        device_->DrawIndexed({list.packedIndexStart, list.packedIndexCount},
                             {list.packedVertexStart, list.packedVertexCount}, kTriangleList);
    }
}

void dcWorldRender::DrawListItems(const Camera& camera, MaterialDrawList& list, int32_t pass)
{
    for (const MaterialDrawItem& item : list.items) {
        const ObjectMesh* mesh = item.object ? item.object->mesh : nullptr;
        if (!mesh || item.range < 0 || item.range >= static_cast<int32_t>(mesh->ranges.size())) {
            continue;
        }
        const MeshDrawRange& range = mesh->ranges[static_cast<size_t>(item.range)];
        if (range.geometry == kStreamingGeometry) {
            continue;   // drawn from the rings
        }
        device_->SetMeasuredObject(&camera, item.object->worldBox);
        SetWorldMatrix(item.object->GetCurrentTransform());
        const float fallTime = item.object->GetFallTime();
        if (range.leafBuffer && fallTime != 0.0f) {
            DrawLeaves(range, *list.effect, fallTime, pass);
        } else {
            DrawFromGeometry(range, *list.effect, pass);
        }
    }
}

void dcWorldRender::DrawLeaves(const MeshDrawRange& range, ShaderEffect& effect, float fallTime, int32_t pass)
{
    if (fallTime >= kLeafFallSeconds) {
        return;
    }
    effect.SetStyleIndex(kLeafStyle);
    effect.SetFloat(effect.AddVariable(L"FallTimer", kShaderValue, true), fallTime);
    device_->SetVertexStream(0, range.leafBuffer.get());
    device_->SetIndexBuffer(nullptr);
    device_->SetVertexFormat(range.leafFormat.get());
    device_->SetShader(&effect, pass, kCurrentStyleKey);
    device_->Draw({0, range.leafBuffer->GetCount()}, kTriangleList);
}

void dcWorldRender::DrawFromGeometry(const MeshDrawRange& range, ShaderEffect& effect, int32_t pass)
{
    effect.SetStyleIndex(kPlainStyle);
    DrawRecordRange(range, effect, pass);
}

void dcWorldRender::DrawOcclusion(const dcWorldObject& object, int32_t pass, int32_t passBit)
{
    if (!device_) {
        return;
    }
    for (const MeshDrawRange& range : object.mesh->ranges) {
        if (range.geometry == kStreamingGeometry) {
            LogHub::PrintError("ERROR IN RENDERING OCCLUSION FROM STREAMING BUFFER");
            continue;
        }
        if (!range.effect || !range.effect->SelectStyle(kOcclusionStyle)) {
            continue;
        }
        if (DrawsInPass(range.effect, passBit)) {
            SetWorldMatrix(object.GetCurrentTransform());
            DrawRecordRange(range, *range.effect, pass);
        }
        // The frame's drawing asks the current style which passes it draws in.
        range.effect->SetStyleIndex(kPlainStyle);
    }
}

void dcWorldRender::DrawRecordRange(const MeshDrawRange& range, ShaderEffect& effect, int32_t pass)
{
    if (range.geometry < 0 || range.geometry >= static_cast<int32_t>(geometry_.size())) {
        return;
    }
    const GeometryBuffers& buffers = geometry_[static_cast<size_t>(range.geometry)];
    for (size_t stream = 0; stream < buffers.streams.size(); ++stream) {
        device_->SetVertexStream(static_cast<int32_t>(stream), buffers.streams[stream].get());
    }
    device_->SetIndexBuffer(buffers.indices.get());
    device_->SetVertexFormat(buffers.format.get());
    device_->SetShader(&effect, pass, kCurrentStyleKey);
    device_->DrawIndexed({range.firstIndex, range.indexCount}, {range.firstVertex, range.vertexCount},
                         kTriangleList);
}
