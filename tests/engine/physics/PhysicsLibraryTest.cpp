#include "engine/physics/BoxGeom.h"
#include "engine/physics/PhysicsLibrary.h"
#include "engine/physics/TriMeshGeom.h"

#include <gtest/gtest.h>

// The program closes the library as it ends; anything made afterwards (the
// next test in this process) must find it set up again, collider data and all.
TEST(PhysicsLibrary, ClosingIsUndoneByTheNextPhysicsObject)
{
    ClosePhysicsLibrary();
    ClosePhysicsLibrary();   // closing twice does nothing more

    TriMeshGeom floor;
    floor.Vertices() = {{-5, 0, -5}, {-5, 0, 5}, {5, 0, 5}, {5, 0, -5}};
    floor.Triangles() = {{{0, 1, 2}, 0}, {{0, 2, 3}, 1}};
    floor.Build();
    BoxGeom box({1, 1, 1});
    box.SetPosition({0, 0.25f, 0});
    EXPECT_TRUE(floor.TestAgainst(box));
}
