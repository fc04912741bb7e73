#pragma once
// What every movable world object shares for the whole run: the props that
// are loose or falling, the bodies released for reuse, the collision space
// that holds every prop's box, and the depth of nested knock-loose tests.
// The world renderer runs the active props each fixed step and empties the
// list on a game reset; the world loader makes the space.

#include "engine/physics/RigidBody.h"
#include "engine/physics/SpaceGeom.h"

#include <cstdint>
#include <memory>
#include <vector>

class Camera;
class PhysicsWorld;
class dcDynamicObject;

// Loose or falling props, in the order they were first touched.
std::vector<dcDynamicObject*>& ActiveDynamicObjects();
// Bodies given back by props that were put back at their place.
std::vector<std::unique_ptr<RigidBody>>& RigidBodyPool();
// The quadtree of every prop's box; none between worlds.
std::unique_ptr<SpaceGeom>& DynamicObjectSpace();
// Knock-loose tests under way, one inside another.
int32_t& KnockLooseDepth();

// A body at rest from the pool, or a new one in the physics world.
std::unique_ptr<RigidBody> TakePooledBody(PhysicsWorld& physics);
// One fixed step of every active prop, in order; the props put back leave
// the list, the ones knocked loose meanwhile join it and run too.
void UpdateActiveDynamicObjects(float dt, const Camera& camera);
// The list, the pool and the space emptied: the bodies and the space must go
// before the physics world they live in.
void ReleaseDynamicObjectState();
