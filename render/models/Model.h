#pragma once
// One drawable instance of a mesh. It copies the mesh's nodes and tapes, so
// each instance can move, hide or detach its own nodes, keeps a box around
// them, and draws in the render passes its materials select. A renderer
// draws a model in a pass as:
//     if (model.GetPassMask(detail) & (1 << pass)) model.Render(world, pass, detail);
// where detail is the style key its effects are asked with.

#include "engine/files/WideString.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Vec3.h"
#include "render/models/MeshNode.h"
#include "render/models/Tape.h"
#include "render/shaders/ShaderVariableBlock.h"

#include <cstdint>
#include <memory>
#include <vector>

class IndexBuffer;
class MeshData;
class Mesh;
class VertexFormat;
class VideoDevice;
struct DrawBatch;

class Model : public ShaderVariableBlock {
public:
    // Through the model factory's folders, shared with every model of the
    // same name and suffix; a suffix selects the textures named
    // "<base><suffix>.DCT" where they exist. A name that is not found gives
    // an empty model that draws nothing.
    Model(const WideString& meshName, const WideString& textureSuffix);
    Model(VideoDevice* device, const WideString& meshName, const WideString& textureSuffix);
    ~Model() override;

    // matrices holds matrixCount bone matrices; a static model draws with the first.
    virtual void RenderSkinned(const Matrix44* matrices, int32_t matrixCount, int32_t pass, int32_t detail);
    virtual void Render(const Matrix44& world, int32_t pass, int32_t detail);
    // The passes the model draws in, one bit per pass, for the detail key.
    virtual int32_t GetPassMask(int32_t detail);

    // Either lets go of the mesh the model had, which goes with its last model.
    void LoadMesh(const WideString& name, const WideString& suffix);
    void AttachMesh(MeshData* mesh);

    // The instance's own nodes and tapes, for its users to move, hide and read.
    std::vector<MeshNode>& GetNodes() { return nodes_; }
    std::vector<Tape>& GetTapes() { return tapes_; }
    // By name, exactly; none when the mesh has no such node or tape.
    MeshNode* FindNode(const WideString& name);
    const Tape* FindTape(const WideString& name) const;
    MeshData* GetMesh() const { return mesh_; }
    const Vec3& GetBoundsCentre() const { return boundsCentre_; }
    const Vec3& GetBoundsHalfExtents() const { return boundsHalfExtents_; }
    // Set for models whose vertices are skinned on the processor: their
    // skeletons hand them untransposed matrices.
    bool IsSoftwareSkinned() const { return softwareSkinned_; }
    int32_t GetWorldVariable() const { return worldVariable_; }
    int32_t userValue = 0;

protected:
    // For derived models, which load their own kind of mesh.
    explicit Model(VideoDevice* device);
    // Binds the instance: its "World" variable, the mesh's node and tape
    // copies, the bounds; then asks for the pass mask of detail 0.
    void BindMesh(MeshData* mesh);
    void ReleaseMesh();
    // The union of the part masks of every node's part, each batch's effect
    // asked with the key; part and batch masks are stored in the shared mesh.
    int32_t ComputePassMask(int32_t effectKey);
    void SetWorldMatrix(const Matrix44& world);
    // The batch through its effect, made current with this model as its
    // parent, from the vertex streams already bound.
    void DrawMeshBatch(const DrawBatch& batch, IndexBuffer* indices, const VertexFormat* format, int32_t pass,
                   int32_t styleKey);

    VideoDevice* device_;
    MeshData* mesh_ = nullptr;
    // A mesh that no cache holds (the empty one of a name that was not found).
    std::unique_ptr<MeshData> ownMesh_;
    int32_t worldVariable_ = -1;
    std::vector<MeshNode> nodes_;
    std::vector<Tape> tapes_;
    int32_t passMask_ = 0;
    int32_t maskDetail_ = 0;
    Vec3 boundsCentre_;
    Vec3 boundsHalfExtents_;
    bool softwareSkinned_ = false;
    Matrix44 worldMatrix_;   // what "World" points at, as shader constants take it
};

// The engine's video device, where models are made unless told otherwise.
VideoDevice* EngineVideoDevice();
// The bit of a render pass in a pass mask; 0 for a pass outside the mask.
int32_t PassBit(int32_t pass);
