#pragma once
// The contents of a ".DCM" mesh file, as static and skinned meshes read it.
// Every count, index and size is checked against the file and against what
// drawing will index with it, so a mesh built from a file that reads can
// be drawn without further checks.

#include "engine/files/WideString.h"
#include "engine/math/BoundingBox.h"
#include "engine/video/ElementRange.h"
#include "engine/video/VertexElement.h"
#include "render/models/MeshNode.h"
#include "render/models/SkinVertex.h"
#include "render/models/Tape.h"

#include <cstdint>
#include <vector>

class Stream;

// How the file's geometry blocks are laid out.
enum class MeshLayout {
    kStatic,    // vertex elements and raw vertex bytes for the device
    kSkinned,   // one bone-bound vertex layout, skinned on the processor
};

// Skinned vertices are written into a ring of this many vertices per stream.
inline constexpr int32_t kSkinRingCapacity = 65536;

// A material value: a texture file name (kind 1), or raw bytes for the effect.
struct MaterialParam {
    static constexpr int32_t kTexture = 1;

    WideString name;
    int32_t kind = 0;
    WideString textureName;
    std::vector<uint8_t> value;
};

struct MaterialRecord {
    WideString shaderName;   // as the file names it
    std::vector<MaterialParam> params;
};

struct BatchRecord {
    int32_t geometry = 0;
    int32_t material = -1;   // -1: none
    ElementRange vertices{0, 0};
    ElementRange indices{0, 0};
};

struct PartRecord {
    BoundingBox bounds;   // zero unless the file carries it
    std::vector<BatchRecord> batches;
};

struct VertexStreamRecord {
    bool dynamic = false;
    int32_t stride = 0;
    std::vector<uint8_t> bytes;   // stride x vertex count
};

struct GeometryRecord {
    std::vector<VertexElement> elements;
    int32_t vertexCount = 0;
    std::vector<VertexStreamRecord> streams;   // index = stream number
    std::vector<int32_t> indices;
};

struct SkinStreamRecord {
    std::vector<SkinVertex> vertices;
};

struct SkinGeometryRecord {
    int32_t vertexCount = 0;
    std::vector<SkinStreamRecord> streams;
    std::vector<int32_t> indices;
};

struct MeshFile {
    int32_t version = 0;
    std::vector<GeometryRecord> geometry;           // static layout
    std::vector<SkinGeometryRecord> skinGeometry;   // skinned layout
    std::vector<MaterialRecord> materials;
    std::vector<PartRecord> parts;
    std::vector<MeshNode> nodes;
    std::vector<Tape> tapes;
};

// False, with one error line naming the file, when it is not a mesh or
// holds errors; the result is then to be dropped whole. Old files are
// read with "Please re-export %s" logged.
bool ReadMeshFile(Stream& in, MeshLayout layout, MeshFile& out);

// The bytes one element of a Direct3D declaration type takes; 0 for a type
// that is none.
int32_t VertexElementBytes(uint8_t type);
