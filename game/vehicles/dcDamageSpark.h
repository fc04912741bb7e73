#pragma once
// A scrap thrown off a car by a scrape: a small piece of the car's damage
// model, in the car's skin, that tumbles and falls for five seconds. Sparks
// are pooled for the whole run; a spark whose car has left the scene goes
// with it.

#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"
#include "game/world/GameMessages.h"

#include <cstdint>
#include <memory>

class Model;

class dcDamageSpark : public MessageReceiver {
    DC_RECEIVER(dcDamageSpark, MessageReceiver)
public:
    static constexpr float kLife = 5.0f;
    static constexpr float kFall = 98.1f;    // units per second squared
    static constexpr float kDrag = 0.1f;     // of the velocity, per second
    static constexpr float kSpin = 5.0f;     // radians per second at a full spin rate

    dcDamageSpark();

    // Into the game module's scene with a fresh id; null without a game module.
    static dcDamageSpark* Spawn(int32_t carId, std::shared_ptr<Model> model, const Vec3& position,
                                const Vec3& velocity);
    static int32_t FreeCount();

    void Release();

    std::shared_ptr<Model> model;   // the car's damage model, shared so that it outlives the car
    Vec3 position;
    Vec3 velocity;
    Vec3 spinAxis;   // unit: the spin rates about y, z and -x
    Quaternion rotation;
    int32_t carId = 0;
    float life = kLife;

protected:
    virtual void OnGameReset(const dcGameReset& message) { Release(); }
    virtual void OnUpdate(const dcUpdate& message);
    virtual void OnRender(const dcRender& message);

private:
    void Turn(const Vec3& angles);
};
// handlers: dcGameReset -> OnGameReset, dcUpdate -> OnUpdate, dcRender -> OnRender
