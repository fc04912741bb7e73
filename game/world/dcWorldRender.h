#pragma once
// Draws the world's props. Visible objects queue their mesh ranges in the
// per-material draw lists each frame; the ranges whose data lies in the
// world's streaming geometry (props that move) are packed once per frame
// into one vertex ring and one index ring, and drawn with one call per
// material and pass; the others are drawn straight from the world's
// geometry records with the object's world matrix.
//
// It also holds the streaming geometry the world file gives it, and, as the
// owner of the space of the movable props, runs the loose ones each fixed
// step and decides which geometries may meet that space at all.

#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Vec3.h"
#include "engine/physics/PhysicsMessages.h"
#include "game/world/GameMessages.h"
#include "game/world/MaterialDrawList.h"
#include "render/models/Mesh.h"

#include <cstdint>
#include <memory>
#include <vector>

class Camera;
class IndexBuffer;
class ShaderVariableBlock;
class VertexFormat;
class VideoDevice;
class dcWorldObject;
struct MeshDrawRange;

struct StreamingVertex {
    Vec3 position;
    Vec3 normal;
    float u = 0.0f;
    float v = 0.0f;
};
static_assert(sizeof(StreamingVertex) == 32, "the world file's streaming vertex");

class dcWorldRender : public MessageReceiver {
    DC_RECEIVER(dcWorldRender, MessageReceiver)
public:
    static constexpr int32_t kRingVertices = 0x10000;
    static constexpr int32_t kRingIndices = 0x20000;
    static constexpr float kLeafFallSeconds = 20.0f;   // leaves that fell this long are gone
    // Props farther than this from the camera meet nothing.
    static constexpr float kPropCollisionRangeSquared = 2000.0f * 2000.0f;

    // Without a device it packs the layout of the rings but draws nothing.
    // world: the block whose "World" matrix the draws set; geometry: the
    // world's geometry records, which ranges address.
    dcWorldRender(VideoDevice* device, ShaderVariableBlock& world, const std::vector<GeometryBuffers>& geometry);
    ~dcWorldRender() override;

    void SetStreamingFormat(std::unique_ptr<VertexFormat> format);
    std::vector<StreamingVertex>& StreamingVertices() { return streamingVertices_; }
    std::vector<int32_t>& StreamingIndices() { return streamingIndices_; }
    // A new world: no streaming geometry.
    void ClearStreamingGeometry();

    void ClearDrawLists();
    static void AddDrawItem(MaterialDrawList& list, dcWorldObject* object, int32_t range, float weight);
    // This frame's streaming items into the rings. A frame whose items do not
    // fit the rings packs nothing, and draws nothing from the rings.
    void PackMovingGeometry();
    void RenderPass(const Camera& camera, int32_t pass);
    // The object's record ranges with their "OcclusionTest" technique, for the
    // visibility compile's depth and query passes.
    void DrawOcclusion(const dcWorldObject& object, int32_t pass, int32_t passBit);

    // Objects whose streaming vertices were carried through their pose, this frame.
    int32_t GetTransformedObjectCount() const { return transformedObjects_; }

protected:
    // handlers: dcGameReset -> OnGameReset, dcUpdate -> OnUpdate,
    // dcCollisionCull -> OnCollisionCull
    virtual void OnGameReset(const dcGameReset& message);
    virtual void OnUpdate(const dcUpdate& message);
    // For the props' space as a whole.
    virtual void OnCollisionCull(const dcCollisionCull& message);

private:
    struct PackTotals {
        int32_t vertices = 0;
        int32_t indices = 0;
    };

    // The streaming range of an item; none when it is not one, or lies
    // outside the streaming data.
    const MeshDrawRange* StreamingRange(const MaterialDrawItem& item) const;
    PackTotals SumStreamingItems() const;
    static void ZeroPackedRanges();
    void PackList(MaterialDrawList& list, PackTotals& totals, StreamingVertex* vertices);
    void PackItem(const MaterialDrawItem& item, const MeshDrawRange& range, const PackTotals& totals,
                  StreamingVertex* vertices);
    void DrawPackedLists(int32_t pass, int32_t passBit);
    void DrawListItems(const Camera& camera, MaterialDrawList& list, int32_t pass);
    void DrawLeaves(const MeshDrawRange& range, ShaderEffect& effect, float fallTime, int32_t pass);
    void DrawFromGeometry(const MeshDrawRange& range, ShaderEffect& effect, int32_t pass);
    // With the effect's technique as it is selected.
    void DrawRecordRange(const MeshDrawRange& range, ShaderEffect& effect, int32_t pass);
    void SetWorldMatrix(const Matrix44& transform);

    VideoDevice* device_;
    ShaderVariableBlock& world_;
    const std::vector<GeometryBuffers>& geometry_;
    int32_t worldVariable_;
    Matrix44 worldMatrix_;   // what "World" points at, transposed for the shaders
    // Behind a pointer: the rings' buffers are Direct3D's, whose headers
    // must not reach the receivers that include this one.
    struct Rings;
    std::unique_ptr<Rings> rings_;
    std::unique_ptr<VertexFormat> streamingFormat_;
    std::vector<StreamingVertex> streamingVertices_;
    std::vector<int32_t> streamingIndices_;   // the low 16 bits of each are used
    IndexBuffer* lockedIndices_ = nullptr;
    int32_t transformedObjects_ = 0;
};
