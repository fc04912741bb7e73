#pragma once
// What static and skinned meshes share: the materials, the parts made of
// draw batches, the nodes that place the parts and the tapes. A mesh is
// loaded once and shared by every model instance of the same key; it is
// read-only to them except for the pass masks, which the instance that
// asked last decides.

#include "engine/files/WideString.h"
#include "engine/math/BoundingBox.h"
#include "engine/video/ElementRange.h"
#include "render/models/MeshFile.h"
#include "render/models/MeshMaterial.h"
#include "render/models/MeshNode.h"
#include "render/models/Tape.h"

#include <cstdint>
#include <vector>

class ShaderEffect;
class VideoDevice;

struct DrawBatch {
    int32_t geometryIndex = 0;
    ShaderEffect* effect = nullptr;   // its material's; none for a batch without material
    ElementRange indices{0, 0};
    ElementRange vertices{0, 0};
    int32_t passMask = -1;            // for the detail key last asked
};

struct MeshPart {
    BoundingBox bounds;
    std::vector<DrawBatch> batches;
    int32_t passMask = -1;   // the union of its batches' masks
};

class MeshData {
public:
    MeshData(VideoDevice* device, const WideString& key) : device_(device), key_(key) {}
    virtual ~MeshData() = default;
    MeshData(const MeshData&) = delete;
    MeshData& operator=(const MeshData&) = delete;

    // How many model instances are attached.
    int32_t referenceCount = 0;

    VideoDevice* GetDevice() const { return device_; }
    const WideString& GetKey() const { return key_; }
    std::vector<MeshMaterial>& GetMaterials() { return materials_; }
    std::vector<MeshPart>& GetParts() { return parts_; }
    const std::vector<MeshNode>& GetNodes() const { return nodes_; }
    const std::vector<Tape>& GetTapes() const { return tapes_; }

protected:
    // Takes the materials, parts, nodes and tapes of a file that read.
    void TakeRecords(MeshFile& file, const WideString& suffix, MaterialRules rules);

private:
    VideoDevice* device_;
    WideString key_;
    std::vector<MeshMaterial> materials_;
    std::vector<MeshPart> parts_;
    std::vector<MeshNode> nodes_;
    std::vector<Tape> tapes_;
};
