#include "engine/physics/BoxGeom.h"
#include "engine/physics/SpaceGeom.h"
#include "tests/engine/physics/PhysicsProbe.h"

#include <gtest/gtest.h>
#include <ode/ode.h>

#include <memory>

TEST_F(PhysicsWorldTest, GeometriesInASubSpaceAreTestedOneByOne)
{
    SpaceGeom district({{0, 0, 0}, {20, 5, 20}}, 2);
    EXPECT_TRUE(district.HasFlag(kGeomAlwaysCollide));
    dcForceProbe slabOwner("slab", journal);
    dcForceProbe farOwner("far", journal);
    BoxGeom slab({4, 0.5f, 4});
    slab.SetPosition({0, -0.5f, 0});
    slab.SetOwner(&slabOwner);
    BoxGeom far({1, 1, 1});
    far.SetPosition({15, 0, 15});
    far.SetOwner(&farOwner);
    district.Add(slab);
    district.Add(far);
    district.Add(far);   // already inside: no second entry
    EXPECT_EQ(dSpaceGetNumGeoms(district.GetSpace()), 2);
    district.Clean();
    district.AddToWorld(world);

    DynamicBox crate(world, {0, 3, 0});
    RunSteps(150);
    EXPECT_NEAR(crate.body.GetPosition().y, 0.5f, 0.02f);
    EXPECT_GT(slabOwner.collisions, 0);
    EXPECT_EQ(farOwner.collisions, 0);

    // Taken out of the district, the slab no longer holds the crate.
    district.Remove(slab);
    district.Remove(slab);
    EXPECT_EQ(dSpaceGetNumGeoms(district.GetSpace()), 1);
    RunSteps(30);
    EXPECT_LT(crate.body.GetPosition().y, 0.0f);
}

TEST_F(PhysicsWorldTest, ADestroyedSubSpaceLeavesItsGeometriesToTheirOwners)
{
    auto district = std::make_unique<SpaceGeom>(BoundingBox{{0, 0, 0}, {20, 5, 20}}, 2);
    BoxGeom slab({4, 0.5f, 4});
    district->Add(slab);
    district->AddToWorld(world);
    district.reset();
    EXPECT_EQ(dGeomGetSpace(slab.GetHandle()), nullptr);
    slab.AddToWorld(world);
    EXPECT_TRUE(dSpaceQuery(world.GetSpace(), slab.GetHandle()));
}
