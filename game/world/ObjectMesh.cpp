#include "game/world/ObjectMesh.h"

#include "render/device/VertexBuffer.h"
#include "render/device/VertexFormat.h"

MeshDrawRange::MeshDrawRange() = default;
MeshDrawRange::~MeshDrawRange() = default;
MeshDrawRange::MeshDrawRange(MeshDrawRange&&) noexcept = default;
MeshDrawRange& MeshDrawRange::operator=(MeshDrawRange&&) noexcept = default;
