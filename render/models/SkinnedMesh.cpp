#include "render/models/SkinnedMesh.h"

#include "engine/files/ArchiveList.h"
#include "engine/files/Stream.h"
#include "engine/video/VideoDevice.h"
#include "render/device/GpuBuffer.h"
#include "render/device/IndexBuffer.h"
#include "render/device/VertexBuffer.h"
#include "render/device/VertexFormat.h"

namespace {

constexpr uint8_t kFloat2 = 1;   // D3DDECLTYPE_FLOAT2
constexpr uint8_t kFloat3 = 2;   // D3DDECLTYPE_FLOAT3
constexpr uint8_t kUsagePosition = 0;
constexpr uint8_t kUsageNormal = 3;
constexpr uint8_t kUsageTexCoord = 5;

const std::vector<VertexElement>& SkinnedOutputLayout()
{
    static const std::vector<VertexElement> layout = {
        {0, 0, kFloat3, 0, kUsagePosition, 0},
        {0, 12, kFloat3, 0, kUsageNormal, 0},
        {0, 24, kFloat2, 0, kUsageTexCoord, 0},
    };
    return layout;
}

} // namespace

SkinStream::SkinStream() = default;
SkinStream::~SkinStream() = default;
SkinStream::SkinStream(SkinStream&&) noexcept = default;
SkinStream& SkinStream::operator=(SkinStream&&) noexcept = default;
SkinGeometry::SkinGeometry() = default;
SkinGeometry::~SkinGeometry() = default;
SkinGeometry::SkinGeometry(SkinGeometry&&) noexcept = default;
SkinGeometry& SkinGeometry::operator=(SkinGeometry&&) noexcept = default;

SkinnedMesh::SkinnedMesh() : MeshData(nullptr, WideString()) {}

SkinnedMesh::SkinnedMesh(VideoDevice* device, const WideString& resolvedName) : MeshData(device, resolvedName)
{
    std::unique_ptr<Stream> in = OpenFile(resolvedName);
    MeshFile file;
    if (!ReadMeshFile(*in, MeshLayout::kSkinned, file)) {
        return;
    }
    TakeRecords(file, WideString(), MaterialRules::kSkinned);
    CreateBuffers(file.skinGeometry);
}

SkinnedMesh::~SkinnedMesh() = default;

void SkinnedMesh::CreateBuffers(std::vector<SkinGeometryRecord>& records)
{
    VideoDevice* device = GetDevice();
    geometry_.resize(records.size());
    for (size_t g = 0; g < records.size(); ++g) {
        SkinGeometryRecord& record = records[g];
        SkinGeometry& geometry = geometry_[g];
        geometry.streams.resize(record.streams.size());
        for (size_t s = 0; s < record.streams.size(); ++s) {
            geometry.streams[s].source = std::move(record.streams[s].vertices);
        }
        if (device == nullptr) {
            continue;
        }
        geometry.format = device->CreateVertexFormat(SkinnedOutputLayout());
        for (SkinStream& stream : geometry.streams) {
            stream.ring = device->CreateVertexBuffer(sizeof(SkinnedOutputVertex), kSkinRingCapacity, true, true);
        }
        const int32_t indexCount = static_cast<int32_t>(record.indices.size());
        geometry.indices = device->CreateIndexBuffer(indexCount, record.vertexCount, false, true);
        if (indexCount > 0 && geometry.indices->Lock({0, indexCount}, 0) != nullptr) {
            for (int32_t i = 0; i < indexCount; ++i) {
                *geometry.indices->ElementPointer(i) = static_cast<uint32_t>(record.indices[i]);
            }
            geometry.indices->Unlock();
        }
    }
}

void SkinnedMesh::Skin(const Matrix44* matrices, int32_t matrixCount)
{
    for (SkinGeometry& geometry : geometry_) {
        for (SkinStream& stream : geometry.streams) {
            const int32_t count = static_cast<int32_t>(stream.source.size());
            if (stream.ring == nullptr || count == 0) {
                continue;
            }
            uint32_t mode = kLockNoOverwrite;
            if (stream.ringPosition + count >= kSkinRingCapacity) {
                stream.ringPosition = 0;
                mode = kLockDiscard;
            }
            void* target = stream.ring->Lock({stream.ringPosition, count}, mode);
            if (target == nullptr) {
                continue;
            }
            SkinVertices(stream.source.data(), count, matrices, matrixCount, static_cast<SkinnedOutputVertex*>(target));
            stream.ring->Unlock();
            stream.ring->SetRingPosition(stream.ringPosition);
            stream.ringPosition += count;
        }
    }
}

std::vector<std::unique_ptr<SkinnedMesh>>& SkinnedMeshCache()
{
    static std::vector<std::unique_ptr<SkinnedMesh>> cache;
    return cache;
}

void ReleaseSkinnedMeshes()
{
    SkinnedMeshCache().clear();
}
