#include "game/weapons/SkidTrail.h"

#include <algorithm>

namespace {

constexpr int32_t kVerticesPerPoint = 2;
constexpr int32_t kIndicesPerQuad = 6;

// Whether [first, first + count) and [start, start + length) share an element.
bool Overlaps(int32_t first, int32_t count, int32_t start, int32_t length)
{
    return first < start + length && start < first + count;
}

} // namespace

void SkidTrail::AddPoint(const Vec3& centre, const Vec3& side, SkidWriter& writer)
{
    WritePoint(centre, side, writer);
    if (indexPosition_ + kIndicesPerQuad > kIndexCapacity || vertexPosition_ + kVerticesPerPoint > kVertexCapacity) {
        vertexPosition_ = 0;
        indexPosition_ = 0;
        hasPrevious_ = false;
        WritePoint(centre, side, writer);
    }
}

void SkidTrail::Break()
{
    hasPrevious_ = false;
    runningV_ = 0.0f;
}

void SkidTrail::Age(float step)
{
    for (SkidSegment& segment : segments_) {
        segment.life -= step;
    }
    // A strip whose own segment ends has nothing left to join its next point to.
    if (hasPrevious_ && !segments_.empty() && segments_.back().life <= 0.0f) {
        hasPrevious_ = false;
    }
    std::erase_if(segments_, [](const SkidSegment& segment) { return segment.life <= 0.0f; });
}

void SkidTrail::DropOverwritten(bool extending)
{
    const size_t kept = extending ? 1 : 0;
    const size_t candidates = segments_.size() - std::min(segments_.size(), kept);
    const int32_t indices = extending ? kIndicesPerQuad : 0;
    size_t next = 0;
    for (size_t i = 0; i < segments_.size(); ++i) {
        const SkidSegment& segment = segments_[i];
        const bool reached = i < candidates &&
                             (Overlaps(segment.firstVertex, segment.vertexCount, vertexPosition_, kVerticesPerPoint) ||
                              Overlaps(segment.firstIndex, segment.indexCount, indexPosition_, indices));
        if (!reached) {
            segments_[next++] = segment;
        }
    }
    segments_.resize(next);
}

void SkidTrail::WritePoint(const Vec3& centre, const Vec3& side, SkidWriter& writer)
{
    const bool extending = hasPrevious_;
    DropOverwritten(extending);
    if (extending) {
        runningV_ += Vec3::Subtract(previous_, centre).Length() * kVPerUnit;
    } else {
        segments_.push_back({vertexPosition_, 0, indexPosition_, 0, kLife});
    }
    const Vec3 across = Vec3::Scale(side, kHalfWidth);
    const int32_t first = vertexPosition_;
    writer.WriteVertices(first, {TexturedVertex::At(Vec3::Subtract(centre, across), 0.0f, runningV_),
                                 TexturedVertex::At(Vec3::Add(centre, across), 1.0f, runningV_)});
    vertexPosition_ += kVerticesPerPoint;
    previous_ = centre;
    hasPrevious_ = true;
    if (!extending) {
        return;
    }
    // The quad between the previous pair and the new one.
    const uint32_t f = static_cast<uint32_t>(first);
    writer.WriteIndices(indexPosition_, {f - 2, f, f - 1, f - 1, f, f + 1});
    indexPosition_ += kIndicesPerQuad;
    SkidSegment& current = segments_.back();
    current.life = kLife;
    current.vertexCount = vertexPosition_ - current.firstVertex;
    current.indexCount = indexPosition_ - current.firstIndex;
}
