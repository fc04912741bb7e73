// The world's object stages: the meshes of its props (leaf ranges with
// triangles of their own for falling leaves) and the static props placed
// with them. Every index is checked against its table and every draw range
// against the data it names; a broken file is reported by its stream
// ("%s contains errors") and given up.

#include "game/world/World.h"

#include "engine/core/dcEngine.h"
#include "engine/files/WideString.h"
#include "engine/video/VideoDevice.h"
#include "game/world/FallingLeaves.h"
#include "game/world/GameModule.h"
#include "game/world/LoadBatch.h"
#include "game/world/WorldFileChecks.h"
#include "game/world/dcWorldRender.h"
#include "render/device/IndexBuffer.h"
#include "render/device/VertexBuffer.h"
#include "render/device/VertexFormat.h"
#include "render/models/ModelFileReading.h"
#include "render/shaders/ShaderEffect.h"
#include "render/shaders/ShaderVariable.h"

#include <algorithm>

namespace {

constexpr int32_t kMeshBytes = 32;            // box, world-space flag, range count
constexpr int32_t kDrawRangeBytes = 24;       // six int32
constexpr int32_t kStaticObjectBytes = 52;    // two empty names, pose, skipped bytes, mesh index

// The size class of a mesh by its largest half extent: 0 for the largest.
int32_t SizeClass(const Vec3& halfExtents)
{
    const float largest = std::max({halfExtents.x, halfExtents.y, halfExtents.z});
    if (largest > 300.0f) {
        return 0;
    }
    if (largest > 200.0f) {
        return 1;
    }
    return largest > 100.0f ? 2 : 3;
}

// The range's indices as stored; none when the buffer cannot be read.
std::vector<uint32_t> RangeIndices(IndexBuffer& buffer, const MeshDrawRange& range)
{
    std::vector<uint32_t> indices;
    if (buffer.Lock({range.firstIndex, range.indexCount}, kLockReadsOldValues)) {
        for (int32_t k = 0; k < range.indexCount; ++k) {
            indices.push_back(*buffer.ElementPointer(k));
        }
        buffer.Unlock();
    }
    return indices;
}

} // namespace

float World::LoadObjectMeshes(int32_t& counter)
{
    if (!file_) {
        return 1.0f;
    }
    if (counter > 0) {
        return ReadMeshBatch(counter);
    }
    int32_t count = 0;
    if (!ReadRecordCount(*file_, kMeshBytes, count)) {
        return GiveUpFile();
    }
    meshes_.clear();
    meshes_.resize(static_cast<size_t>(count));
    ++counter;
    return 0.0f;
}

float World::ReadMeshBatch(int32_t& counter)
{
    const int32_t count = static_cast<int32_t>(meshes_.size());
    int32_t read = 0;
    for (int32_t j = counter - 1; j < count && read < kRecordsPerCall; ++j, ++read) {
        if (!ReadMesh(meshes_[static_cast<size_t>(j)])) {
            return GiveUpFile();
        }
        ++counter;
    }
    return BatchProgress(read, kRecordsPerCall, counter, count);
}

bool World::ReadMesh(ObjectMesh& mesh)
{
    Stream& file = *file_;
    int32_t rangeCount = 0;
    if (!ReadBlock(file, &mesh.box, sizeof(BoundingBox)) || !ReadBlock(file, &mesh.worldSpace, 4) ||
        !ReadRecordCount(file, kDrawRangeBytes, rangeCount)) {
        return false;
    }
    mesh.ranges.resize(static_cast<size_t>(rangeCount));
    for (MeshDrawRange& range : mesh.ranges) {
        if (!ReadDrawRange(range)) {
            return false;
        }
    }
    const Vec3& half = mesh.box.halfExtents;
    mesh.halfExtentsLengthSquared = half.x * half.x + half.y * half.y + half.z * half.z;
    mesh.sizeClass = SizeClass(half);
    return true;
}

bool World::ReadDrawRange(MeshDrawRange& range)
{
    Stream& file = *file_;
    if (!ReadBlock(file, &range.geometry, 4) || !ReadBlock(file, &range.material, 4) ||
        !ReadBlock(file, &range.firstVertex, 4) || !ReadBlock(file, &range.vertexCount, 4) ||
        !ReadBlock(file, &range.firstIndex, 4) || !ReadBlock(file, &range.indexCount, 4)) {
        return false;
    }
    if (range.material != -1) {
        if (!CheckIndex(file, range.material, static_cast<int32_t>(materials_.size()))) {
            return false;
        }
        range.effect = materials_[static_cast<size_t>(range.material)].effect.get();
    }
    if (!CheckDrawRange(range)) {
        return false;
    }
    BuildLeafVertices(range);
    return true;
}

// Only a range of a stored record can be a leaf range: the streaming
// geometry has no buffers to copy from.
void World::BuildLeafVertices(MeshDrawRange& range)
{
    VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    if (!video || !range.effect || range.geometry < 0 || range.indexCount == 0 ||
        !IsLeafEffect(range.effect->GetName())) {
        return;
    }
    GeometryBuffers& record = geometryRecords_[static_cast<size_t>(range.geometry)];
    if (!record.indices || record.streams.empty() || !record.streams[0]) {
        return;
    }
    range.effect->AddVariable(L"FallTimer", kShaderValue, true);
    const std::vector<uint32_t> indices = RangeIndices(*record.indices, range);
    VertexBuffer& source = *record.streams[0];
    std::unique_ptr<VertexBuffer> leaves = video->CreateVertexBuffer(sizeof(LeafVertex), range.indexCount, false, true);
    const auto* vertices =
        static_cast<const uint8_t*>(source.Lock({range.firstVertex, range.vertexCount}, kLockReadsOldValues));
    auto* target = leaves ? static_cast<LeafVertex*>(leaves->Lock({0, range.indexCount}, 0)) : nullptr;
    const bool filled = vertices && target && indices.size() == static_cast<size_t>(range.indexCount);
    if (filled) {
        CopyLeafVertices(indices, vertices, source.GetStride(), range.firstVertex, range.vertexCount, target);
    }
    if (vertices) {
        source.Unlock();
    }
    if (target) {
        leaves->Unlock();
    }
    if (!filled) {
        return;   // drawn as a plain range
    }
    range.leafFormat = video->CreateVertexFormat(LeafVertexElements());
    range.leafBuffer = std::move(leaves);
}

bool World::CheckDrawRange(const MeshDrawRange& range)
{
    Stream& file = *file_;
    if (range.geometry == kStreamingGeometry) {
        return CheckRange(file, range.firstVertex, range.vertexCount,
                          static_cast<int32_t>(render_->StreamingVertices().size())) &&
               CheckRange(file, range.firstIndex, range.indexCount,
                          static_cast<int32_t>(render_->StreamingIndices().size()));
    }
    if (!CheckIndex(file, range.geometry, static_cast<int32_t>(geometrySizes_.size()))) {
        return false;
    }
    const GeometryRecordSize& size = geometrySizes_[static_cast<size_t>(range.geometry)];
    return CheckRange(file, range.firstVertex, range.vertexCount, size.vertices) &&
           CheckRange(file, range.firstIndex, range.indexCount, size.indices);
}

float World::LoadStaticObjects(int32_t& counter)
{
    if (!file_) {
        return 1.0f;
    }
    if (counter > 0) {
        return ReadStaticObjectBatch(counter);
    }
    int32_t count = 0;
    if (!ReadRecordCount(*file_, kStaticObjectBytes, count)) {
        return GiveUpFile();
    }
    staticObjects_.clear();
    staticObjects_.resize(static_cast<size_t>(count));
    ++counter;
    return 0.0f;
}

float World::ReadStaticObjectBatch(int32_t& counter)
{
    const int32_t count = static_cast<int32_t>(staticObjects_.size());
    int32_t read = 0;
    for (int32_t j = counter - 1; j < count && read < kRecordsPerCall; ++j, ++read) {
        dcWorldObject& object = staticObjects_[static_cast<size_t>(j)];
        if (!ReadStaticObject(object)) {
            return GiveUpFile();
        }
        if (GameModule* game = GameModule::Get()) {
            game->GetScene().Add(&object);
            if (j == 0) {
                visibility_.SetIdBase(object.GetId());
            }
        }
        ++counter;
    }
    return BatchProgress(read, kRecordsPerCall, counter, count);
}

bool World::ReadStaticObject(dcWorldObject& object)
{
    Stream& file = *file_;
    WideString name;
    WideString unused;
    if (!ReadText(file, name) || !ReadText(file, unused)) {
        return false;
    }
    WideString upper = name;
    WideStringToUpper(upper);
    if (upper.starts_with(L"ROAD_")) {
        object.name = name.substr(5);
    } else if (upper.starts_with(L"NOVIS")) {
        object.hidden = true;
    }
    return ReadPlacement(object) && SkipBlock(file, 8);
}

bool World::ReadPlacement(dcWorldObject& object)
{
    Stream& file = *file_;
    int32_t meshIndex = 0;
    if (!ReadBlock(file, &object.position, sizeof(Vec3)) || !ReadBlock(file, &object.rotation, sizeof(Quaternion)) ||
        !SkipBlock(file, 12) || !ReadBlock(file, &meshIndex, 4) ||
        !CheckIndex(file, meshIndex, static_cast<int32_t>(meshes_.size()))) {
        return false;
    }
    object.mesh = &meshes_[static_cast<size_t>(meshIndex)];
    object.UpdatePlacement();
    return true;
}
