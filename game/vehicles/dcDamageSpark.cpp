#include "game/vehicles/dcDamageSpark.h"

#include "engine/core/Scene.h"
#include "engine/files/RandomRange.h"
#include "engine/math/Matrix44.h"
#include "game/weapons/EntityPool.h"
#include "game/world/GameModule.h"
#include "render/models/Model.h"

#include <utility>

namespace {

EntityPool<dcDamageSpark>& SparkPool()
{
    static EntityPool<dcDamageSpark> pool;
    return pool;
}

} // namespace

dcDamageSpark::dcDamageSpark()
{
    Handles<dcGameReset, &dcDamageSpark::OnGameReset>();
    Handles<dcUpdate, &dcDamageSpark::OnUpdate>();
    Handles<dcRender, &dcDamageSpark::OnRender>();
}

dcDamageSpark* dcDamageSpark::Spawn(int32_t carId, std::shared_ptr<Model> model, const Vec3& position,
                                    const Vec3& velocity)
{
    GameModule* game = GameModule::Get();
    if (!game) {
        return nullptr;
    }
    dcDamageSpark* spark = SparkPool().Take();
    spark->carId = carId;
    spark->model = std::move(model);
    spark->position = position;
    spark->velocity = velocity;
    spark->rotation = Quaternion{};
    spark->Turn({RandomRange(0.0f, 1.0f), RandomRange(0.0f, 1.0f), RandomRange(0.0f, 1.0f)});
    spark->life = kLife;
    spark->spinAxis = {RandomRange(0.0f, 1.0f) - 0.5f, RandomRange(0.0f, 1.0f) - 0.5f, RandomRange(0.0f, 1.0f) - 0.5f};
    spark->spinAxis.Normalize();
    game->GetScene().Add(spark);
    return spark;
}

int32_t dcDamageSpark::FreeCount()
{
    return SparkPool().FreeCount();
}

void dcDamageSpark::Release()
{
    if (SparkPool().Release(*this)) {
        model.reset();
    }
}

// About (0, 1, 0), then (0, 0, 1), then (-1, 0, 0).
void dcDamageSpark::Turn(const Vec3& angles)
{
    rotation.ApplyRotationY(angles.x);
    rotation.ApplyRotationZ(angles.y);
    rotation.ApplyRotationNegX(angles.z);
}

void dcDamageSpark::OnUpdate(const dcUpdate& message)
{
    const float dt = message.step;
    velocity = velocity - velocity * (kDrag * dt);
    velocity.y -= kFall * dt;
    position = position + velocity * dt;
    Turn(spinAxis * (dt * kSpin));
    life -= dt;
    if (life < 0.0f) {
        Release();
    }
}

void dcDamageSpark::OnRender(const dcRender& message)
{
    const Scene* scene = GetScene();
    if (!scene || !scene->FindReceiver(carId)) {
        Release();
        return;
    }
    if (!model || (model->GetPassMask(0) & message.passBit) == 0) {
        return;
    }
    Matrix44 transform = Quaternion::ToTransform(rotation);
    transform.SetRow(3, position);
    model->Render(transform, message.pass, 0);
}
