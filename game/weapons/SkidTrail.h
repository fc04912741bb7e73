#pragma once
// The bookkeeping of one skid-mark object: where each point of its strips
// goes in the object's fixed vertex and index storage, and the segments
// (continuous strips) that storage holds, oldest first. A point writes two
// vertices across the band and, when it follows an earlier point of the
// same strip, the six indices of the quad between the two pairs.
//
// Writing wraps to the start of the storage when either the indices or the
// vertices are full, and the strip goes on from the same point there. Older
// segments whose storage a write reaches are dropped first, so nothing is
// drawn from storage that holds another segment's points.

#include "engine/math/Vec3.h"
#include "render/sprites/TexturedVertex.h"

#include <cstdint>
#include <vector>

struct SkidSegment {
    int32_t firstVertex;
    int32_t vertexCount;
    int32_t firstIndex;
    int32_t indexCount;
    float life;   // seconds
};

// Where the trail's points go.
class SkidWriter {
public:
    virtual ~SkidWriter() = default;
    virtual void WriteVertices(int32_t first, const TexturedVertex (&vertices)[2]) = 0;
    virtual void WriteIndices(int32_t first, const uint32_t (&indices)[6]) = 0;
};

class SkidTrail {
public:
    static constexpr int32_t kVertexCapacity = 1024;
    static constexpr int32_t kIndexCapacity = 1536;   // 256 quads
    static constexpr float kLife = 40.0f;             // seconds after a segment's last point
    static constexpr float kHalfWidth = 2.75f;        // units either side of the centre
    static constexpr float kVPerUnit = 0.1f;          // texture v along the strip

    // The next point of the strip: its centre and the unit axis across the band.
    void AddPoint(const Vec3& centre, const Vec3& side, SkidWriter& writer);
    // The next point starts a new strip.
    void Break();
    // Every segment ages by the step; those whose life is over are dropped.
    void Age(float step);

    const std::vector<SkidSegment>& GetSegments() const { return segments_; }
    int32_t GetVertexPosition() const { return vertexPosition_; }
    int32_t GetIndexPosition() const { return indexPosition_; }
    bool HasPreviousPoint() const { return hasPrevious_; }

private:
    void WritePoint(const Vec3& centre, const Vec3& side, SkidWriter& writer);
    // Drops the segments, other than the one being extended, whose storage the next write reaches.
    void DropOverwritten(bool extending);

    int32_t vertexPosition_ = 0;
    int32_t indexPosition_ = 0;
    bool hasPrevious_ = false;
    Vec3 previous_{};
    float runningV_ = 0.0f;
    std::vector<SkidSegment> segments_;
};
