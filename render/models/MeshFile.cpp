#include "render/models/MeshFile.h"

#include "engine/core/LogHub.h"
#include "engine/files/Stream.h"
#include "render/models/ModelFileReading.h"
#include "render/models/SkeletonFile.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int32_t kMeshKind = 3;
// Direct3D 9 takes at most this many elements in a declaration and streams on a device.
constexpr int32_t kMaxVertexElements = 64;
constexpr int32_t kMaxVertexStreams = 16;
constexpr int32_t kSkinVertexFileBytes = 36;

// The fewest bytes each record takes in the file, to check counts against.
constexpr int32_t kTextBytes = 4;
constexpr int32_t kGeometryBytes = 16;       // element, vertex, stream and index counts
constexpr int32_t kElementBytes = 8;
constexpr int32_t kStreamBytes = 5;          // dynamic flag and stride
constexpr int32_t kIndexBytes = 4;
constexpr int32_t kMaterialBytes = kTextBytes + 4;
constexpr int32_t kParamBytes = kTextBytes + 4;
constexpr int32_t kBatchBytes = 24;
constexpr int32_t kNodeBytes = kTextBytes + 40 + 4 + kTextBytes + 4;   // without the last int32
constexpr int32_t kTapePointBytes = 24;
constexpr int32_t kTapeBytes = kTextBytes + kTapePointBytes;
constexpr int32_t kCountBytes = 4;

constexpr int32_t kElementTypeBytes[] = {4, 8, 12, 16, 4, 4, 4, 8, 4, 4, 8, 4, 8, 4, 4, 4, 8};

bool RangeWithin(const ElementRange& range, int64_t size)
{
    return range.start >= 0 && range.count >= 0 && static_cast<int64_t>(range.start) + range.count <= size;
}

bool IndicesBelow(const std::vector<int32_t>& indices, int32_t vertexCount)
{
    return std::all_of(indices.begin(), indices.end(),
                       [vertexCount](int32_t index) { return index >= 0 && index < vertexCount; });
}

class MeshReader {
public:
    MeshReader(Stream& in, MeshLayout layout, MeshFile& out) : in_(in), layout_(layout), out_(out) {}

    bool Read();

private:
    bool ReadHeader();
    bool ReadGeometry(GeometryRecord& geometry);
    bool ReadSkinGeometry(SkinGeometryRecord& geometry);
    bool ReadIndices(std::vector<int32_t>& indices, int32_t vertexCount);
    void ReadMaterial(MaterialRecord& material);
    void ReadPart(PartRecord& part);
    void ReadBatches(std::vector<BatchRecord>& batches);
    void ReadNodeHead(MeshNode& node);
    void ReadNode(MeshNode& node);
    void ReadLegacyNodes();
    bool BatchesFit() const;
    bool NodesFit() const;
    void PleaseReExport() { LogHub::Printf("Please re-export %s", in_.GetName().c_str()); }
    bool Fail()
    {
        in_.ReportErrors();
        return false;
    }

    Stream& in_;
    MeshLayout layout_;
    MeshFile& out_;
};

bool MeshReader::Read()
{
    if (!ReadHeader()) {
        return false;
    }
    const bool skinned = layout_ == MeshLayout::kSkinned;
    if (skinned) {
        out_.skinGeometry.resize(in_.ReadCount(kGeometryBytes));
        for (SkinGeometryRecord& geometry : out_.skinGeometry) {
            if (!ReadSkinGeometry(geometry)) {
                return Fail();
            }
        }
    } else {
        out_.geometry.resize(in_.ReadCount(kGeometryBytes));
        for (GeometryRecord& geometry : out_.geometry) {
            if (!ReadGeometry(geometry)) {
                return Fail();
            }
        }
    }
    out_.materials.resize(in_.ReadCount(kMaterialBytes));
    for (MaterialRecord& material : out_.materials) {
        ReadMaterial(material);
    }
    if (skinned && out_.version == 0) {
        ReadLegacyNodes();
    } else {
        const int32_t partBytes = (out_.version >= 4 ? 24 : 0) + (out_.version >= 3 ? kTextBytes : 0) + 4;
        out_.parts.resize(in_.ReadCount(partBytes));
        for (PartRecord& part : out_.parts) {
            ReadPart(part);
        }
        out_.nodes.resize(in_.ReadCount(kNodeBytes));
        for (MeshNode& node : out_.nodes) {
            ReadNode(node);
        }
    }
    // Every file ends with its tapes: a file cut short before them or inside
    // them would otherwise read as zeros, and as a mesh of nothing.
    if (in_.Remaining() < kCountBytes) {
        return Fail();
    }
    out_.tapes.resize(in_.ReadCount(kTapeBytes));
    for (Tape& tape : out_.tapes) {
        tape.name = in_.ReadText();
        if (in_.Remaining() < kTapePointBytes) {
            return Fail();
        }
        tape.position = ReadVec3(in_);
        tape.second = ReadVec3(in_);
    }
    if (in_.HasErrors() || !BatchesFit() || !NodesFit()) {
        return Fail();
    }
    return true;
}

bool MeshReader::ReadHeader()
{
    if (!ReadModelFileHeader(in_, kMeshKind, L"mesh", out_.version)) {
        return false;
    }
    in_.ReadInt32();
    in_.ReadText();
    return true;
}

// Each element must lie inside the stride of a stream the block has, so the
// device never reads past a vertex.
bool MeshReader::ReadGeometry(GeometryRecord& geometry)
{
    const int32_t elementCount = in_.ReadCount(kElementBytes);
    if (elementCount > kMaxVertexElements) {
        return false;
    }
    geometry.elements.resize(elementCount);
    for (VertexElement& element : geometry.elements) {
        element.stream = static_cast<uint16_t>(in_.ReadInt16());
        element.offset = static_cast<uint16_t>(in_.ReadInt16());
        element.type = in_.ReadByte();
        element.method = in_.ReadByte();
        element.usage = in_.ReadByte();
        element.usageIndex = in_.ReadByte();
    }
    geometry.vertexCount = in_.ReadInt32();
    const int32_t streamCount = in_.ReadCount(kStreamBytes);
    if (geometry.vertexCount < 0 || streamCount > kMaxVertexStreams) {
        return false;
    }
    geometry.streams.resize(streamCount);
    for (VertexStreamRecord& stream : geometry.streams) {
        stream.dynamic = in_.ReadByte() != 0;
        stream.stride = in_.ReadInt32();
        const int64_t bytes = static_cast<int64_t>(stream.stride) * geometry.vertexCount;
        if (stream.stride < 0 || bytes > in_.Remaining()) {
            return false;
        }
        stream.bytes.resize(static_cast<size_t>(bytes));
        in_.Read(stream.bytes.data(), static_cast<int32_t>(bytes));
    }
    for (const VertexElement& element : geometry.elements) {
        const int32_t size = VertexElementBytes(element.type);
        if (size == 0 || element.stream >= streamCount ||
            element.offset + size > geometry.streams[element.stream].stride) {
            return false;
        }
    }
    return ReadIndices(geometry.indices, geometry.vertexCount);
}

// The file's vertex elements are skipped: skinning writes one fixed layout.
bool MeshReader::ReadSkinGeometry(SkinGeometryRecord& geometry)
{
    in_.Skip(in_.ReadCount(kElementBytes) * kElementBytes);
    geometry.vertexCount = in_.ReadInt32();
    const int32_t streamCount = in_.ReadCount(kStreamBytes);
    if (geometry.vertexCount < 0 || geometry.vertexCount > kSkinRingCapacity || streamCount > kMaxVertexStreams) {
        return false;
    }
    geometry.streams.resize(streamCount);
    for (SkinStreamRecord& stream : geometry.streams) {
        in_.ReadByte();
        // Vertices are read as 36-byte records: with any other stride the
        // file's layout is unknown, and reading on would lose step.
        const int32_t stride = in_.ReadInt32();
        if (stride != kSkinVertexFileBytes ||
            static_cast<int64_t>(geometry.vertexCount) * kSkinVertexFileBytes > in_.Remaining()) {
            return false;
        }
        stream.vertices.resize(geometry.vertexCount);
        for (SkinVertex& vertex : stream.vertices) {
            vertex.position = ReadVec3(in_);
            const float bone = in_.ReadFloat();
            // The skinning palette has kMaxBones matrices.
            if (!(bone >= 0.0f && bone < static_cast<float>(kMaxBones))) {
                return false;
            }
            vertex.bone = static_cast<int32_t>(bone);
            vertex.normal = ReadVec3(in_);
            vertex.u = in_.ReadFloat();
            vertex.v = in_.ReadFloat();
        }
    }
    return ReadIndices(geometry.indices, geometry.vertexCount);
}

bool MeshReader::ReadIndices(std::vector<int32_t>& indices, int32_t vertexCount)
{
    indices.resize(in_.ReadCount(kIndexBytes));
    for (int32_t& index : indices) {
        index = in_.ReadInt32();
    }
    return !in_.HasErrors() && IndicesBelow(indices, vertexCount);
}

void MeshReader::ReadMaterial(MaterialRecord& material)
{
    material.shaderName = in_.ReadText();
    material.params.resize(in_.ReadCount(kParamBytes));
    for (MaterialParam& param : material.params) {
        param.name = in_.ReadText();
        param.kind = in_.ReadInt32();
        if (param.kind == MaterialParam::kTexture) {
            param.textureName = in_.ReadText();
            continue;
        }
        param.value.resize(in_.ReadCount(1));
        in_.Read(param.value.data(), static_cast<int32_t>(param.value.size()));
    }
}

void MeshReader::ReadPart(PartRecord& part)
{
    if (out_.version >= 4) {
        part.bounds.centre = ReadVec3(in_);
        part.bounds.halfExtents = ReadVec3(in_);
    }
    if (out_.version >= 3) {
        in_.ReadText();
    } else {
        PleaseReExport();
    }
    ReadBatches(part.batches);
}

void MeshReader::ReadBatches(std::vector<BatchRecord>& batches)
{
    batches.resize(in_.ReadCount(kBatchBytes));
    for (BatchRecord& batch : batches) {
        batch.geometry = in_.ReadInt32();
        batch.material = in_.ReadInt32();
        batch.vertices.start = in_.ReadInt32();
        batch.vertices.count = in_.ReadInt32();
        batch.indices.start = in_.ReadInt32();
        batch.indices.count = in_.ReadInt32();
    }
}

// Every layout starts a node the same way; what follows differs.
void MeshReader::ReadNodeHead(MeshNode& node)
{
    node.name = in_.ReadText();
    node.position = ReadVec3(in_);
    node.rotation = ReadQuaternion(in_);
    node.thirdVector = ReadVec3(in_);
    in_.ReadInt32();
    node.secondName = in_.ReadText();
}

void MeshReader::ReadNode(MeshNode& node)
{
    ReadNodeHead(node);
    node.partIndex = in_.ReadInt32();
    if (layout_ == MeshLayout::kStatic || out_.version >= 2) {
        in_.ReadInt32();
    } else {
        PleaseReExport();
    }
}

// The oldest skinned files give each node its own batches: node i draws part
// i, and neither has bounds.
void MeshReader::ReadLegacyNodes()
{
    PleaseReExport();
    const int32_t count = in_.ReadCount(kNodeBytes);
    out_.nodes.resize(count);
    out_.parts.resize(count);
    for (int32_t i = 0; i < count; ++i) {
        MeshNode& node = out_.nodes[i];
        ReadNodeHead(node);
        node.partIndex = i;
        ReadBatches(out_.parts[i].batches);
    }
}

// Batches index the geometry, the materials and the geometry's buffers.
bool MeshReader::BatchesFit() const
{
    const bool skinned = layout_ == MeshLayout::kSkinned;
    const int32_t geometryCount =
        static_cast<int32_t>(skinned ? out_.skinGeometry.size() : out_.geometry.size());
    const int32_t materialCount = static_cast<int32_t>(out_.materials.size());
    for (const PartRecord& part : out_.parts) {
        for (const BatchRecord& batch : part.batches) {
            if (batch.geometry < 0 || batch.geometry >= geometryCount || batch.material < -1 ||
                batch.material >= materialCount) {
                return false;
            }
            const int32_t vertexCount = skinned ? out_.skinGeometry[batch.geometry].vertexCount
                                                : out_.geometry[batch.geometry].vertexCount;
            const size_t indexCount = skinned ? out_.skinGeometry[batch.geometry].indices.size()
                                              : out_.geometry[batch.geometry].indices.size();
            if (!RangeWithin(batch.vertices, vertexCount) ||
                !RangeWithin(batch.indices, static_cast<int64_t>(indexCount))) {
                return false;
            }
        }
    }
    return true;
}

bool MeshReader::NodesFit() const
{
    const int32_t partCount = static_cast<int32_t>(out_.parts.size());
    return std::all_of(out_.nodes.begin(), out_.nodes.end(), [partCount](const MeshNode& node) {
        return node.partIndex >= 0 && node.partIndex < partCount;
    });
}

} // namespace

int32_t VertexElementBytes(uint8_t type)
{
    return type < std::size(kElementTypeBytes) ? kElementTypeBytes[type] : 0;
}

bool ReadMeshFile(Stream& in, MeshLayout layout, MeshFile& out)
{
    MeshReader reader(in, layout, out);
    if (!reader.Read()) {
        out = MeshFile{};
        return false;
    }
    for (MeshNode& node : out.nodes) {
        if (!(layout == MeshLayout::kSkinned && out.version == 0)) {
            node.worldBounds = BoundingBox::Transform(out.parts[node.partIndex].bounds, node.GetTransform());
        }
    }
    return true;
}
