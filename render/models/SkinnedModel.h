#pragma once
// One instance of a skinned mesh, drawn with the bone matrices its skeleton
// hands it. Its vertices are skinned on the processor, so the skeleton hands
// the matrices untransposed, and the model draws them in world space.

#include "render/models/Model.h"

class SkinnedMesh;

class SkinnedModel : public Model {
public:
    // The name is taken as given (the skinned-model factory has no folders);
    // figures of the same file share one mesh, read once.
    explicit SkinnedModel(const WideString& fileName);
    SkinnedModel(VideoDevice* device, const WideString& fileName);

    // Skins and draws; every call skins again, so a model drawn in several
    // passes is skinned once per pass. The detail is not used.
    void RenderSkinned(const Matrix44* matrices, int32_t matrixCount, int32_t pass, int32_t detail) override;
    // The mesh in its bind pose, carried by the one matrix.
    void Render(const Matrix44& world, int32_t pass, int32_t detail) override;
    // Every effect is asked for detail key 0.
    int32_t GetPassMask(int32_t detail) override;

    void LoadMesh(const WideString& fileName);
    void AttachMesh(SkinnedMesh* mesh);
};
