#pragma once
// The mesh of an animated figure: the same materials, parts, nodes and tapes
// as a static mesh, with its vertices kept in memory, each bound to one bone,
// and skinned on the processor into a ring of device vertices every time it
// is drawn.

#include "render/models/MeshData.h"
#include "render/models/SkinVertex.h"

#include <memory>
#include <vector>

class IndexBuffer;
class VertexBuffer;
class VertexFormat;

struct SkinStream {
    SkinStream();
    ~SkinStream();
    SkinStream(SkinStream&&) noexcept;
    SkinStream& operator=(SkinStream&&) noexcept;

    std::vector<SkinVertex> source;
    // kSkinRingCapacity output vertices; each skinning appends behind the
    // last and starts over when the stream no longer fits.
    std::unique_ptr<VertexBuffer> ring;
    int32_t ringPosition = 0;
};

struct SkinGeometry {
    SkinGeometry();
    ~SkinGeometry();
    SkinGeometry(SkinGeometry&&) noexcept;
    SkinGeometry& operator=(SkinGeometry&&) noexcept;

    std::unique_ptr<VertexFormat> format;   // the skinned output layout
    std::vector<SkinStream> streams;
    std::unique_ptr<IndexBuffer> indices;
};

class SkinnedMesh : public MeshData {
public:
    // The empty mesh of a name that was not found: it draws nothing.
    SkinnedMesh();
    // Loads the resolved file, which is also the key. A file that is
    // refused leaves the mesh empty. Without a device only the records and
    // the source vertices are kept.
    SkinnedMesh(VideoDevice* device, const WideString& resolvedName);
    ~SkinnedMesh() override;

    std::vector<SkinGeometry>& GetGeometry() { return geometry_; }

    // Skins every stream by the matrices into the next free range of its
    // ring, and tells the ring where that range starts.
    void Skin(const Matrix44* matrices, int32_t matrixCount);

private:
    void CreateBuffers(std::vector<SkinGeometryRecord>& records);

    std::vector<SkinGeometry> geometry_;
};

// The loaded skinned meshes, searched by key. They stay for the whole run (a
// device that goes first detaches their buffers); tests release them between
// devices.
std::vector<std::unique_ptr<SkinnedMesh>>& SkinnedMeshCache();
void ReleaseSkinnedMeshes();
