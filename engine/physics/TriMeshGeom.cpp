#include "engine/physics/TriMeshGeom.h"

#include "engine/core/MessageReceiver.h"
#include "engine/physics/PhysicsMessages.h"

#include <ode/ode.h>

static_assert(sizeof(Vec3) == 3 * sizeof(float), "ODE reads the vertex list as packed floats");
static_assert(sizeof(TriMeshTriangle) == 16, "ODE reads the triangle list with a 16-byte stride");

// ODE's mesh data and the arrays it reads. A mesh destroyed during a collision
// pass hands them to its world, which frees them after the handle.
struct TriMeshGeom::MeshData : GeomResources {
    MeshData() : data(dGeomTriMeshDataCreate()) {}
    ~MeshData() override { dGeomTriMeshDataDestroy(data); }

    dTriMeshDataID data;
    std::vector<Vec3> vertices;
    std::vector<TriMeshTriangle> triangles;
};

namespace {

int TriangleCallback(dGeomID mesh, dGeomID other, int triangle)
{
    return TriMeshGeom::AcceptTriangle(static_cast<PhysicsGeom*>(dGeomGetData(mesh)),
                                       static_cast<PhysicsGeom*>(dGeomGetData(other)), triangle)
               ? 1
               : 0;
}

void TriangleArrayCallback(dGeomID, dGeomID, const int*, int) {}

// Rays keep every triangle they meet; the triangle callback still asks the owners.
int RayCallback(dGeomID, dGeomID, int, dReal, dReal)
{
    return 1;
}

// True when the geometry's owner cleared accept.
bool OwnerRefuses(PhysicsGeom* self, PhysicsGeom* other, int32_t triangle)
{
    MessageReceiver* owner = self ? self->GetOwner() : nullptr;
    if (!owner) {
        return false;
    }
    dcTriangleContact message;
    message.self = self;
    message.other = other;
    message.triangle = triangle;
    owner->Send(message);
    return message.accept == 0;
}

} // namespace

TriMeshGeom::TriMeshGeom() : mesh_(std::make_unique<MeshData>())
{
    Adopt(dCreateTriMesh(nullptr, mesh_->data, &TriangleCallback, &TriangleArrayCallback, &RayCallback));
}

TriMeshGeom::~TriMeshGeom()
{
    ReleaseHandle(std::move(mesh_));
}

std::vector<Vec3>& TriMeshGeom::Vertices()
{
    return mesh_->vertices;
}

std::vector<TriMeshTriangle>& TriMeshGeom::Triangles()
{
    return mesh_->triangles;
}

void TriMeshGeom::Build()
{
    const std::vector<Vec3>& vertices = mesh_->vertices;
    const std::vector<TriMeshTriangle>& triangles = mesh_->triangles;
    dGeomTriMeshDataBuildSingle(mesh_->data, vertices.empty() ? nullptr : vertices.data(), sizeof(Vec3),
                                static_cast<int>(vertices.size()), triangles.empty() ? nullptr : triangles.data(),
                                static_cast<int>(triangles.size() * 3), sizeof(TriMeshTriangle));
    // The geometry caches what it read from the data: make it read again.
    dGeomTriMeshSetData(GetShape(), mesh_->data);
}

bool TriMeshGeom::AcceptTriangle(PhysicsGeom* mesh, PhysicsGeom* other, int32_t triangle)
{
    return !OwnerRefuses(mesh, other, triangle) && !OwnerRefuses(other, mesh, triangle);
}
