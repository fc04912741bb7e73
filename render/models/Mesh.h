#pragma once
// A static mesh from a ".DCM" file: its geometry lives in device buffers.
// Loaded meshes are kept in the mesh cache while a model uses them.

#include "render/models/MeshData.h"

#include <memory>
#include <vector>

class IndexBuffer;
class VertexBuffer;
class VertexFormat;

struct GeometryBuffers {
    GeometryBuffers();
    ~GeometryBuffers();
    GeometryBuffers(GeometryBuffers&&) noexcept;
    GeometryBuffers& operator=(GeometryBuffers&&) noexcept;

    std::unique_ptr<VertexFormat> format;
    std::vector<std::unique_ptr<VertexBuffer>> streams;   // index = stream number
    std::unique_ptr<IndexBuffer> indices;
};

class Mesh : public MeshData {
public:
    // The empty mesh of a name that was not found: it draws nothing.
    Mesh();
    // Loads the resolved file; the key is the name followed by the texture
    // suffix. A file that is refused leaves the mesh empty. Without a device
    // only the records are kept.
    Mesh(VideoDevice* device, const WideString& resolvedName, const WideString& suffix);
    ~Mesh() override;

    const std::vector<GeometryBuffers>& GetGeometry() const { return geometry_; }

private:
    void CreateBuffers(std::vector<GeometryRecord>& records);

    std::vector<GeometryBuffers> geometry_;
};

// The loaded static meshes, searched by key; a mesh leaves it with its last model.
std::vector<Mesh*>& MeshCache();
