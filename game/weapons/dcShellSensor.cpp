#include "game/weapons/dcShellSensor.h"

#include "engine/physics/PhysicsWorld.h"
#include "game/weapons/EntityPool.h"
#include "game/weapons/SensorGeometry.h"
#include "game/world/GameModule.h"
#include "game/world/dcWorldGeometry.h"

namespace {

EntityPool<dcShellSensor>& SensorPool()
{
    static EntityPool<dcShellSensor> pool;
    return pool;
}

constexpr float kBounceDamping = 0.5f;
constexpr float kPushOut = 1.1f;

} // namespace

bool BounceOffSurface(const Plane& surface, Vec3& position, Vec3& velocity)
{
    const float sunk = surface.distance - Vec3::Dot(surface.normal, position);
    if (sunk <= 0.0f) {
        return false;
    }
    const Vec3 reflected =
        Vec3::Subtract(velocity, Vec3::Scale(surface.normal, 2.0f * Vec3::Dot(velocity, surface.normal)));
    velocity = Vec3::Scale(reflected, kBounceDamping);
    position = Vec3::Add(position, Vec3::Scale(surface.normal, sunk * kPushOut));
    return true;
}

dcShellSensor::dcShellSensor() : SphereGeom(kRadius)
{
    Handles<dcGameReset, &dcShellSensor::OnGameReset>();
    Handles<dcUpdate, &dcShellSensor::OnUpdate>();
    Handles<dcContact, &dcShellSensor::OnContact>();
    SetOwner(this);
    SetFlag(kSensorFlags, true);
    Disable();   // tested against the world by hand, never in its pass
}

int32_t dcShellSensor::FreeCount()
{
    return SensorPool().FreeCount();
}

dcShellSensor* dcShellSensor::Create(const Vec3& position, const Vec3& velocity)
{
    GameModule* game = GameModule::Get();
    if (!game) {
        return nullptr;
    }
    dcShellSensor* sensor = SensorPool().Take();
    sensor->SetPosition(position);
    sensor->velocity_ = velocity;
    sensor->references_ = 1;
    sensor->surfaces_.clear();
    sensor->AddToWorld(game->GetWorld().GetPhysics());
    game->GetScene().Add(sensor);
    return sensor;
}

void dcShellSensor::Release()
{
    if (references_ <= 0 || --references_ > 0) {
        return;   // pooled already, or still in use
    }
    Leave();
    SensorPool().Return(*this);
}

void dcShellSensor::Leave()
{
    if (Scene* scene = MessageReceiver::GetScene()) {
        scene->Remove(this);
    }
    if (PhysicsWorld* world = GetWorld(); world && HasFlag(kGeomInWorld)) {
        RemoveFromWorld(*world);
    }
}

void dcShellSensor::OnGameReset(const dcGameReset&)
{
    // Its casings are gone with the game; the creator still holds its count.
    Leave();
}

void dcShellSensor::OnUpdate(const dcUpdate& message)
{
    surfaces_.clear();
    if (GameModule* game = GameModule::Get()) {
        TestAgainst(game->GetWorld().GetGeometry());
    }
    const Vec3 gravity = GetWorld() ? GetWorld()->GetGravity() : Vec3{};
    velocity_ = Vec3::Add(velocity_, Vec3::Scale(gravity, message.step));
    Vec3 position = Vec3::Add(GetPosition(), Vec3::Scale(velocity_, message.step));
    for (const Plane& surface : surfaces_) {
        BounceOffSurface(surface, position, velocity_);
    }
    SetPosition(position);
}

void dcShellSensor::OnContact(const dcContact& message)
{
    const Vec3 lifted = Vec3::Add(message.position, Vec3::Scale(message.normal, kSurfaceLift));
    surfaces_.push_back(Plane::FromPointNormal(lifted, message.normal));
}
