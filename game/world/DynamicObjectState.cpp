#include "game/world/DynamicObjectState.h"

#include "engine/physics/PhysicsWorld.h"
#include "game/world/dcDynamicObject.h"

std::vector<dcDynamicObject*>& ActiveDynamicObjects()
{
    static std::vector<dcDynamicObject*> active;
    return active;
}

std::vector<std::unique_ptr<RigidBody>>& RigidBodyPool()
{
    static std::vector<std::unique_ptr<RigidBody>> pool;
    return pool;
}

std::unique_ptr<SpaceGeom>& DynamicObjectSpace()
{
    static std::unique_ptr<SpaceGeom> space;
    return space;
}

int32_t& KnockLooseDepth()
{
    static int32_t depth = 0;
    return depth;
}

std::unique_ptr<RigidBody> TakePooledBody(PhysicsWorld& physics)
{
    std::vector<std::unique_ptr<RigidBody>>& pool = RigidBodyPool();
    if (pool.empty()) {
        return std::make_unique<RigidBody>(physics);
    }
    std::unique_ptr<RigidBody> body = std::move(pool.back());
    pool.pop_back();
    body->SetLinearVelocity(kZeroVector);
    body->SetAngularVelocity(kZeroVector);
    return body;
}

// By index: a step may knock further props loose, which join the list.
void UpdateActiveDynamicObjects(float dt, const Camera& camera)
{
    std::vector<dcDynamicObject*>& active = ActiveDynamicObjects();
    for (size_t i = 0; i < active.size();) {
        if (active[i]->UpdateActive(dt, camera)) {
            ++i;
        } else {
            active.erase(active.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

void ReleaseDynamicObjectState()
{
    ActiveDynamicObjects().clear();
    RigidBodyPool().clear();
    std::unique_ptr<SpaceGeom>& space = DynamicObjectSpace();
    if (space && space->GetWorld()) {
        space->RemoveFromWorld(*space->GetWorld());
    }
    space.reset();
    KnockLooseDepth() = 0;
}
