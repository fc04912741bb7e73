#pragma once
// A triangle mesh: the static world geometry and the collision meshes of
// cars. The caller fills the vertex and triangle lists, builds the mesh once
// and adds it to a world like any geometry. ODE reads the lists in place, so
// they must not change size after Build unless Build runs again.
//
// During collision the owners of both geometries are asked about every
// triangle the other geometry meets (dcTriangleContact), so game code can
// ignore triangles selectively, e.g. a probe ray that sees only some
// surfaces. Rays hit every triangle they meet unless an owner says no.

#include "engine/physics/PhysicsGeom.h"

#include <cstdint>
#include <memory>
#include <vector>

struct TriMeshTriangle {
    int32_t vertices[3];   // indices into the vertex list
    int32_t tag;           // the mesh user's own value for the triangle; collision ignores it
};

class TriMeshGeom : public PhysicsGeom {
public:
    TriMeshGeom();
    ~TriMeshGeom() override;

    std::vector<Vec3>& Vertices();
    std::vector<TriMeshTriangle>& Triangles();
    // An empty mesh never collides.
    void Build();

    // True keeps the triangle in this collision; the mesh's owner is asked
    // first, and a triangle it refuses is not offered to the other owner.
    static bool AcceptTriangle(PhysicsGeom* mesh, PhysicsGeom* other, int32_t triangle);

private:
    struct MeshData;

    std::unique_ptr<MeshData> mesh_;
};
