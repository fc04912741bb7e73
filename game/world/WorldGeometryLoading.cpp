// The world's geometry stages: collision, path networks and decorations,
// render geometry, materials. Every count is checked against the bytes left
// and every index against its table; a broken file is reported by its
// stream ("%s contains errors") and given up, and the stages after it read
// nothing.

#include "game/world/World.h"

#include "engine/core/dcEngine.h"
#include "engine/video/VideoDevice.h"
#include "game/world/DecoRouteNetwork.h"
#include "game/world/GameModule.h"
#include "game/world/MaterialDrawList.h"
#include "game/world/WorldFileChecks.h"
#include "game/world/dcDecoObject.h"
#include "game/world/dcWorldGeometry.h"
#include "game/world/dcWorldRender.h"
#include "render/device/IndexBuffer.h"
#include "render/device/VertexBuffer.h"
#include "render/device/VertexFormat.h"

#include <algorithm>

namespace {

constexpr int32_t kSpaceDepth = 4;
constexpr int32_t kMaterialsPerCall = 10;
constexpr int32_t kVertexElementBytes = 8;
// The least each record can take in the file, for checking counts.
constexpr int32_t kRoadNodeBytes = 28;         // id, position, float, link count, int32
constexpr int32_t kPedestrianNodeBytes = 16;   // position, link count
constexpr int32_t kRouteNodeBytes = 20;        // position, speed, link count
constexpr int32_t kDecorationBytes = 8;        // model letter, route count
constexpr int32_t kGeometryRecordBytes = 16;   // element, vertex, stream and index counts
constexpr int32_t kMaterialBytes = 8;          // effect name length, parameter count
constexpr int32_t kStreamHeaderBytes = 5;      // dynamic flag, stride

VideoDevice* Video()
{
    return dcEngine::Instance().GetVideoDevice();
}

bool ReadVertexElements(Stream& file, std::vector<VertexElement>& elements)
{
    int32_t count = 0;
    if (!ReadRecordCount(file, kVertexElementBytes, count)) {
        return false;
    }
    elements.resize(static_cast<size_t>(count));
    static_assert(sizeof(VertexElement) == kVertexElementBytes, "the file's vertex element");
    return ReadBlock(file, elements.data(), count * kVertexElementBytes);
}

template <class T>
bool ReadArray(Stream& file, std::vector<T>& values)
{
    int32_t count = 0;
    if (!ReadRecordCount(file, static_cast<int32_t>(sizeof(T)), count)) {
        return false;
    }
    values.resize(static_cast<size_t>(count));
    return ReadBlock(file, values.data(), count * static_cast<int32_t>(sizeof(T)));
}

} // namespace

float World::GiveUpFile()
{
    file_.reset();
    failed_ = true;
    return 1.0f;
}

float World::LoadCollision(int32_t& counter)
{
    if (!file_) {
        return 1.0f;
    }
    Stream& file = *file_;
    switch (counter) {
    case 0:
        if (!ReadArray(file, geometry_->Vertices())) {
            return GiveUpFile();
        }
        ++counter;
        return 0.1f;
    case 1: {
        if (!ReadArray(file, geometry_->Triangles())) {
            return GiveUpFile();
        }
        const int32_t vertexCount = static_cast<int32_t>(geometry_->Vertices().size());
        for (const TriMeshTriangle& triangle : geometry_->Triangles()) {
            for (int32_t vertex : triangle.vertices) {
                if (!CheckIndex(file, vertex, vertexCount)) {
                    return GiveUpFile();
                }
            }
        }
        ++counter;
        return 0.3f;
    }
    case 2:
        if (!ReadBlock(file, &box_, sizeof(BoundingBox))) {
            return GiveUpFile();
        }
        ++counter;
        return 0.5f;
    case 3:
        physics_.CreateSpace(box_, kSpaceDepth);
        geometry_->Build();
        ++counter;
        return 0.9f;
    default:
        geometry_->AddToPhysics(physics_);
        return 1.0f;
    }
}

bool World::ReadRoadNetwork(PathNetwork<PathNode>& network)
{
    Stream& file = *file_;
    int32_t count = 0;
    if (!ReadRecordCount(file, kRoadNodeBytes, count)) {
        return false;
    }
    network.nodes.assign(static_cast<size_t>(count), PathNode{});
    network.ids.assign(static_cast<size_t>(count), 0);
    for (int32_t i = 0; i < count; ++i) {
        PathNode& node = network.nodes[static_cast<size_t>(i)];
        if (!ReadBlock(file, &network.ids[static_cast<size_t>(i)], 4) || !ReadBlock(file, &node.position, 12) ||
            !ReadBlock(file, &node.weight, 4) || !ReadNodeLinks(file, network.nodes, node) ||
            !ReadBlock(file, &node.tag, 4)) {
            return false;
        }
    }
    // Traffic always finds a node to start from.
    if (count == 0) {
        network.nodes.resize(1);
    }
    return true;
}

bool World::ReadPedestrianNetwork()
{
    Stream& file = *file_;
    std::vector<PedestrianNode>& nodes = PedestrianNetwork().nodes;
    int32_t count = 0;
    if (!ReadRecordCount(file, kPedestrianNodeBytes, count)) {
        return false;
    }
    nodes.assign(static_cast<size_t>(count), PedestrianNode{});
    for (PedestrianNode& node : nodes) {
        if (!ReadBlock(file, &node.position, 12) || !ReadNodeLinks(file, nodes, node)) {
            return false;
        }
    }
    return true;
}

bool World::ReadDecoRouteNetwork()
{
    Stream& file = *file_;
    CurrentDecoRouteNetwork() = std::make_unique<DecoRouteNetwork>();
    std::vector<DecoRouteNode>& nodes = CurrentDecoRouteNetwork()->Nodes();
    int32_t count = 0;
    if (!ReadRecordCount(file, kRouteNodeBytes, count)) {
        return false;
    }
    nodes.resize(static_cast<size_t>(count));
    for (DecoRouteNode& node : nodes) {
        if (!ReadBlock(file, &node.position, 12) || !ReadBlock(file, &node.speed, 4) ||
            !ReadNodeLinks(file, nodes, node)) {
            return false;
        }
    }
    return true;
}

// Decorations whose route is too short or leaves the route network stay out of the world.
bool World::ReadDecorations()
{
    Stream& file = *file_;
    int32_t count = 0;
    if (!ReadRecordCount(file, kDecorationBytes, count)) {
        return false;
    }
    const int32_t routeNodes = static_cast<int32_t>(CurrentDecoRouteNetwork()->Nodes().size());
    GameModule* game = GameModule::Get();
    for (int32_t i = 0; i < count; ++i) {
        auto decoration = std::make_unique<dcDecoObject>();
        int32_t letter = 0;
        if (!ReadBlock(file, &letter, 4) || !ReadArray(file, decoration->Route())) {
            return false;
        }
        if (game && decoration->HasUsableRoute(routeNodes)) {
            auto model = std::make_unique<Model>(dcDecoObject::ModelName(letter), L"");
            model->SetParent(this);
            decoration->SetModel(std::move(model));
            game->GetScene().Add(decoration.get());
            sceneEntityIds_.push_back(decoration.release()->GetId());
        }
    }
    return true;
}

float World::LoadPathNetworks(int32_t& counter)
{
    if (!file_) {
        return 1.0f;
    }
    constexpr float kProgress[] = {0.4f, 0.5f, 0.7f, 1.0f};
    const int32_t piece = counter;
    bool read = false;
    switch (piece) {
    case 0:
        read = ReadRoadNetwork(TrafficNetwork()) && ReadRoadNetwork(SecondRoadNetwork());
        break;
    case 1:
        read = ReadPedestrianNetwork();
        break;
    case 2:
        read = ReadDecoRouteNetwork();
        break;
    default:
        read = ReadDecorations();
        break;
    }
    if (!read) {
        return GiveUpFile();
    }
    ++counter;
    return kProgress[std::min(piece, 3)];
}

bool World::ReadStreamingGeometry()
{
    Stream& file = *file_;
    std::vector<VertexElement> elements;
    if (!ReadVertexElements(file, elements)) {
        return false;
    }
    if (VideoDevice* video = Video()) {
        render_->SetStreamingFormat(video->CreateVertexFormat(elements));
    }
    int32_t records = 0;
    if (!ReadArray(file, render_->StreamingVertices()) || !ReadArray(file, render_->StreamingIndices()) ||
        !ReadRecordCount(file, kGeometryRecordBytes, records)) {
        return false;
    }
    geometryRecords_.clear();
    geometryRecords_.resize(static_cast<size_t>(records));
    geometrySizes_.assign(static_cast<size_t>(records), GeometryRecordSize{});
    return true;
}

bool World::ReadVertexStreams(GeometryBuffers& record, int32_t vertexCount)
{
    Stream& file = *file_;
    int32_t streams = 0;
    if (!ReadRecordCount(file, kStreamHeaderBytes, streams)) {
        return false;
    }
    record.streams.resize(static_cast<size_t>(streams));
    for (std::unique_ptr<VertexBuffer>& stream : record.streams) {
        uint8_t dynamic = 0;
        int32_t stride = 0;
        if (!ReadBlock(file, &dynamic, 1) || !ReadBlock(file, &stride, 4)) {
            return false;
        }
        const int64_t bytes = static_cast<int64_t>(stride) * vertexCount;
        if (stride <= 0 || bytes > file.Remaining()) {
            file.ReportErrors();
            return false;
        }
        VideoDevice* video = Video();
        if (video) {
            stream = video->CreateVertexBuffer(stride, vertexCount, dynamic != 0, true);
        }
        // Straight into the buffer; without one (no device, or an empty buffer) past it.
        void* target = stream ? stream->Lock({0, vertexCount}, 0) : nullptr;
        if (!target) {
            file.Skip(static_cast<int32_t>(bytes));
            continue;
        }
        const bool read = ReadBlock(file, target, static_cast<int32_t>(bytes));
        stream->Unlock();
        if (!read) {
            return false;
        }
    }
    return true;
}

bool World::ReadIndices(GeometryBuffers& record, int32_t vertexCount, int32_t& indexCount)
{
    Stream& file = *file_;
    std::vector<int32_t> indices;
    if (!ReadArray(file, indices)) {
        return false;
    }
    indexCount = static_cast<int32_t>(indices.size());
    for (int32_t index : indices) {
        if (!CheckIndex(file, index, vertexCount)) {
            return false;
        }
    }
    VideoDevice* video = Video();
    if (!video) {
        return true;
    }
    const int32_t count = static_cast<int32_t>(indices.size());
    record.indices = video->CreateIndexBuffer(count, vertexCount, false, true);
    if (!record.indices->Lock({0, count}, 0)) {
        return true;
    }
    for (int32_t i = 0; i < count; ++i) {
        *record.indices->ElementPointer(i) = static_cast<uint32_t>(indices[static_cast<size_t>(i)]);
    }
    record.indices->Unlock();
    return true;
}

bool World::ReadGeometryRecord(GeometryBuffers& record, GeometryRecordSize& size)
{
    Stream& file = *file_;
    std::vector<VertexElement> elements;
    int32_t vertexCount = 0;
    if (!ReadVertexElements(file, elements) || !ReadBlock(file, &vertexCount, 4)) {
        return false;
    }
    if (vertexCount < 0) {
        file.ReportErrors();
        return false;
    }
    if (VideoDevice* video = Video()) {
        record.format = video->CreateVertexFormat(elements);
    }
    size.vertices = vertexCount;
    return ReadVertexStreams(record, vertexCount) && ReadIndices(record, vertexCount, size.indices);
}

float World::LoadRenderGeometry(int32_t& counter)
{
    if (!file_) {
        return 1.0f;
    }
    const int32_t records = static_cast<int32_t>(geometryRecords_.size());
    if (counter == 0) {
        if (!ReadStreamingGeometry()) {
            return GiveUpFile();
        }
        ++counter;
        return 0.2f;
    }
    if (counter > records) {
        return 1.0f;
    }
    const int32_t record = counter - 1;
    if (!ReadGeometryRecord(geometryRecords_[static_cast<size_t>(record)], geometrySizes_[static_cast<size_t>(record)])) {
        return GiveUpFile();
    }
    ++counter;
    return 0.2f + 0.7f * static_cast<float>(record) / static_cast<float>(records);
}

float World::ReadMaterialBatch(int32_t& counter)
{
    const int32_t count = static_cast<int32_t>(materials_.size());
    int32_t read = 0;
    for (int32_t j = counter - 1; j < count && read < kMaterialsPerCall; ++j, ++read) {
        if (!ReadMaterial(*file_, Video(), *this, materials_[static_cast<size_t>(j)])) {
            return GiveUpFile();
        }
        ++counter;
    }
    if (read == kMaterialsPerCall) {
        return 0.9f * static_cast<float>(counter) / static_cast<float>(count);
    }
    std::vector<MaterialDrawList>& lists = MaterialDrawLists();
    lists.assign(static_cast<size_t>(count), MaterialDrawList{});
    for (int32_t i = 0; i < count; ++i) {
        lists[static_cast<size_t>(i)].effect = materials_[static_cast<size_t>(i)].effect.get();
    }
    return 1.0f;
}

float World::LoadMaterials(int32_t& counter)
{
    if (!file_) {
        return 1.0f;
    }
    if (counter > 0) {
        return ReadMaterialBatch(counter);
    }
    int32_t count = 0;
    if (!ReadRecordCount(*file_, kMaterialBytes, count)) {
        return GiveUpFile();
    }
    materials_.clear();
    materials_.resize(static_cast<size_t>(count));
    ++counter;
    return 0.0f;
}
