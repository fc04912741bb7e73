#include "engine/physics/BoxGeom.h"
#include "engine/physics/RayGeom.h"
#include "engine/physics/TriMeshGeom.h"
#include "tests/engine/math/MathExpect.h"
#include "tests/engine/physics/PhysicsProbe.h"

#include <gtest/gtest.h>
#include <ode/ode.h>

#include <algorithm>
#include <memory>

namespace {

// A flat grid of cells x cells squares on y = 0 from the origin along +x and
// +z, two triangles per square, facing up: for the square at (x, z) triangle
// 2 (z cells + x) covers the half nearer the origin and the next one the far
// half. Each triangle is tagged with its own index.
void MakeGrid(TriMeshGeom& mesh, int32_t cells, float size = 1.0f)
{
    std::vector<Vec3>& vertices = mesh.Vertices();
    std::vector<TriMeshTriangle>& triangles = mesh.Triangles();
    for (int32_t z = 0; z <= cells; ++z) {
        for (int32_t x = 0; x <= cells; ++x) {
            vertices.push_back({x * size, 0.0f, z * size});
        }
    }
    for (int32_t z = 0; z < cells; ++z) {
        for (int32_t x = 0; x < cells; ++x) {
            const int32_t corner = z * (cells + 1) + x;
            // Counter-clockwise seen from above.
            triangles.push_back({{corner, corner + cells + 1, corner + 1}, static_cast<int32_t>(triangles.size())});
            triangles.push_back(
                {{corner + 1, corner + cells + 1, corner + cells + 2}, static_cast<int32_t>(triangles.size())});
        }
    }
    mesh.Build();
}

class TriMeshGeomTest : public PhysicsWorldTest {
protected:
    dcForceProbe meshOwner{"mesh", journal};
    dcForceProbe rayOwner{"ray", journal};
};

} // namespace

TEST_F(TriMeshGeomTest, AnEmptyMeshNeverCollides)
{
    TriMeshGeom mesh;
    mesh.Build();
    EXPECT_EQ(dGeomTriMeshGetTriangleCount(mesh.GetHandle()), 0);
    BoxGeom box({1, 1, 1});
    EXPECT_FALSE(mesh.TestAgainst(box));
}

TEST_F(TriMeshGeomTest, ARayHitsTheTriangleBelowIt)
{
    TriMeshGeom mesh;
    mesh.SetOwner(&meshOwner);
    MakeGrid(mesh, 4);
    mesh.AddToWorld(world);
    RayGeom ray(10.0f);
    ray.SetOwner(&rayOwner);
    ray.SetFlag(kGeomSensing, true);
    ray.AddToWorld(world);
    // The square at x 2..3, z 1..2 holds triangles 12 and 13.
    ray.Set({2.2f, 5.0f, 1.2f}, {0, -1, 0});
    world.Collide();
    EXPECT_EQ(meshOwner.triangles, std::vector<int32_t>{12});
    EXPECT_EQ(rayOwner.triangles, std::vector<int32_t>{12});
    EXPECT_EQ(mesh.Triangles()[12].tag, 12);
    ASSERT_EQ(rayOwner.contacts.size(), 1u);
    EXPECT_TRUE(NearVec(rayOwner.contacts[0].position, {2.2f, 0.0f, 1.2f}));
    EXPECT_NEAR(rayOwner.contacts[0].depth, 5.0f, 1e-4f);

    ray.Set({2.8f, 5.0f, 1.8f}, {0, -1, 0});
    meshOwner.triangles.clear();
    world.Collide();
    EXPECT_EQ(meshOwner.triangles, std::vector<int32_t>{13});
}

TEST_F(TriMeshGeomTest, ARefusedTriangleYieldsNoContactAndIsNotOfferedFurther)
{
    TriMeshGeom mesh;
    mesh.SetOwner(&meshOwner);
    MakeGrid(mesh, 4);
    BoxGeom box({1.5f, 0.5f, 1.5f});
    box.SetOwner(&rayOwner);
    box.SetPosition({2, 0.45f, 2});
    ASSERT_TRUE(PhysicsWorld::TestPair(nullptr, mesh, box));
    meshOwner.triangles.clear();
    rayOwner.triangles.clear();

    meshOwner.onTriangle = [](const dcTriangleContact& msg) {
        if (msg.triangle == 7) {
            msg.accept = 0;
        }
    };
    PhysicsWorld::TestPair(&world, box, mesh);
    EXPECT_NE(std::find(meshOwner.triangles.begin(), meshOwner.triangles.end(), 7), meshOwner.triangles.end());
    EXPECT_EQ(std::find(rayOwner.triangles.begin(), rayOwner.triangles.end(), 7), rayOwner.triangles.end());
    EXPECT_EQ(rayOwner.triangles.size() + 1, meshOwner.triangles.size());

    // Refusing every triangle leaves no contact at all.
    meshOwner.onTriangle = [](const dcTriangleContact& msg) { msg.accept = 0; };
    EXPECT_FALSE(PhysicsWorld::TestPair(&world, box, mesh));
}

TEST_F(TriMeshGeomTest, WithoutOwnersEveryTriangleCountsQuietly)
{
    TriMeshGeom mesh;
    MakeGrid(mesh, 2);
    BoxGeom box({0.5f, 0.5f, 0.5f});
    box.SetPosition({1, 0.45f, 1});
    EXPECT_TRUE(PhysicsWorld::TestPair(&world, box, mesh));
    EXPECT_TRUE(journal.empty());
    EXPECT_TRUE(TriMeshGeom::AcceptTriangle(&mesh, &box, 0));
}

TEST_F(TriMeshGeomTest, APairYieldsAtMostFiftyPoints)
{
    TriMeshGeom mesh;
    MakeGrid(mesh, 40, 0.1f);   // 3200 small triangles under one box
    mesh.SetOwner(&meshOwner);
    mesh.AddToWorld(world);
    DynamicBox box(world, {2, 0.49f, 2}, {1.5f, 0.5f, 1.5f});
    box.geometry.SetOwner(&rayOwner);
    world.Collide();
    EXPECT_EQ(rayOwner.contacts.size(), 50u);
    EXPECT_EQ(world.GetContactsUsed(), 50);
}

TEST_F(TriMeshGeomTest, PointsBeyondTheStepsContactRecordsAreDropped)
{
    TriMeshGeom mesh;
    MakeGrid(mesh, 200, 0.1f);   // 20 x 20 units of small triangles
    mesh.AddToWorld(world);
    // 100 boxes apart from each other, each resting on enough triangles for
    // the fifty points of a pair: 5000 points, more than a step can hold.
    std::vector<std::unique_ptr<DynamicBox>> boxes;
    for (int32_t z = 0; z < 10; ++z) {
        for (int32_t x = 0; x < 10; ++x) {
            boxes.push_back(std::make_unique<DynamicBox>(world, Vec3{1.0f + 2.0f * x, 0.49f, 1.0f + 2.0f * z},
                                                         Vec3{0.9f, 0.5f, 0.9f}));
        }
    }
    world.Collide();
    EXPECT_EQ(world.GetContactsUsed(), PhysicsWorld::kContactRecords);
    world.Step(kFixedStep);
    EXPECT_EQ(world.GetContactsUsed(), 0);
    // The next step starts with every record free again.
    RunSteps(3);
    for (const std::unique_ptr<DynamicBox>& box : boxes) {
        EXPECT_GT(box->body.GetPosition().y, 0.3f);
    }
}

TEST_F(TriMeshGeomTest, AProbeCollidedAgainstTheWorldSeesTheMesh)
{
    TriMeshGeom mesh;
    mesh.SetOwner(&meshOwner);
    MakeGrid(mesh, 4);
    mesh.AddToWorld(world);
    DynamicBox box(world, {1, 3, 1});
    RayGeom probe(10.0f);
    probe.SetOwner(&rayOwner);
    probe.SetFlag(kGeomSensing, true);
    probe.Set({0.2f, 5.0f, 0.7f}, {0, -1, 0});
    probe.AddToWorld(world);
    probe.RemoveFromWorld(world);
    probe.CollideWithWorld();
    // Down through the box onto the mesh.
    EXPECT_EQ(rayOwner.collisions, 1);
    EXPECT_EQ(meshOwner.triangles, std::vector<int32_t>{0});
    probe.Set({1.0f, 5.0f, 1.0f}, {0, -1, 0});
    rayOwner.collisions = 0;
    probe.CollideWithWorld();
    EXPECT_EQ(rayOwner.collisions, 2);
}

TEST_F(TriMeshGeomTest, BoxesComeToRestOnAMesh)
{
    TriMeshGeom mesh;
    MakeGrid(mesh, 10);
    mesh.AddToWorld(world);
    DynamicBox box(world, {5.3f, 2.0f, 5.6f});
    RunSteps(150);
    EXPECT_NEAR(box.body.GetPosition().y, 0.5f, 0.03f);
    EXPECT_NEAR(box.body.GetLinearVelocity().Length(), 0.0f, 0.05f);
}

TEST_F(TriMeshGeomTest, AMeshDestroyedDuringAPassKeepsItsDataTillTheEnd)
{
    auto mesh = std::make_unique<TriMeshGeom>();
    MakeGrid(*mesh, 4);
    mesh->SetOwner(&meshOwner);
    mesh->AddToWorld(world);
    DynamicBox first(world, {1, 0.49f, 1});
    DynamicBox second(world, {3, 0.49f, 3});
    meshOwner.onCollision = [&](const dcCollision&) { mesh.reset(); };
    world.Collide();
    EXPECT_EQ(mesh, nullptr);
    EXPECT_EQ(meshOwner.collisions, 1);
    EXPECT_EQ(dSpaceGetNumGeoms(world.GetSpace()), 2);
    RunSteps(5);
    EXPECT_LT(first.body.GetPosition().y, 0.49f);
}
