#include "render/models/Mesh.h"

#include "engine/files/ArchiveList.h"
#include "engine/files/Stream.h"
#include "engine/video/VideoDevice.h"
#include "render/device/IndexBuffer.h"
#include "render/device/VertexBuffer.h"
#include "render/device/VertexFormat.h"

#include <cstring>

GeometryBuffers::GeometryBuffers() = default;
GeometryBuffers::~GeometryBuffers() = default;
GeometryBuffers::GeometryBuffers(GeometryBuffers&&) noexcept = default;
GeometryBuffers& GeometryBuffers::operator=(GeometryBuffers&&) noexcept = default;

Mesh::Mesh() : MeshData(nullptr, WideString()) {}

Mesh::Mesh(VideoDevice* device, const WideString& resolvedName, const WideString& suffix)
    : MeshData(device, resolvedName + suffix)
{
    std::unique_ptr<Stream> in = OpenFile(resolvedName);
    MeshFile file;
    if (!ReadMeshFile(*in, MeshLayout::kStatic, file)) {
        return;
    }
    TakeRecords(file, suffix, MaterialRules::kStatic);
    CreateBuffers(file.geometry);
}

Mesh::~Mesh() = default;

void Mesh::CreateBuffers(std::vector<GeometryRecord>& records)
{
    VideoDevice* device = GetDevice();
    if (device == nullptr) {
        return;
    }
    geometry_.resize(records.size());
    for (size_t g = 0; g < records.size(); ++g) {
        const GeometryRecord& record = records[g];
        GeometryBuffers& buffers = geometry_[g];
        const int32_t vertexCount = record.vertexCount;
        buffers.format = device->CreateVertexFormat(record.elements);
        for (const VertexStreamRecord& stream : record.streams) {
            std::unique_ptr<VertexBuffer> buffer =
                device->CreateVertexBuffer(stream.stride, vertexCount, stream.dynamic, true);
            if (!stream.bytes.empty()) {
                if (void* target = buffer->Lock({0, vertexCount}, 0)) {
                    std::memcpy(target, stream.bytes.data(), stream.bytes.size());
                    buffer->Unlock();
                }
            }
            buffers.streams.push_back(std::move(buffer));
        }
        const int32_t indexCount = static_cast<int32_t>(record.indices.size());
        buffers.indices = device->CreateIndexBuffer(indexCount, vertexCount, false, true);
        if (indexCount > 0 && buffers.indices->Lock({0, indexCount}, 0) != nullptr) {
            for (int32_t i = 0; i < indexCount; ++i) {
                *buffers.indices->ElementPointer(i) = static_cast<uint32_t>(record.indices[i]);
            }
            buffers.indices->Unlock();
        }
    }
}

std::vector<Mesh*>& MeshCache()
{
    static std::vector<Mesh*> cache;
    return cache;
}
