#pragma once
// A burst of rock pieces thrown out by an explosion: each piece flies up and
// out at the same speed, tumbles and falls under a quarter of the world's
// gravity, never colliding, until the burst's life runs out. One pooled
// object carries the whole burst.

#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"
#include "game/world/GameMessages.h"

#include <cstdint>
#include <memory>
#include <vector>

class Model;

struct DebrisPiece {
    int32_t modelIndex;
    Vec3 position;
    Quaternion orientation;
    Vec3 velocity;   // units per second
    Vec3 spin;       // unit axis weights of the tumble
};

class dcRockDebris : public MessageReceiver {
    DC_RECEIVER(dcRockDebris, MessageReceiver)
public:
    static constexpr float kGravityShare = 0.25f;
    static constexpr float kTumbleRate = 5.0f;   // radians per second per spin unit

    // The first one made loads the shared debris models.
    dcRockDebris();

    // Between minimum and maximum pieces (the random value truncated) at the
    // position, flying for life seconds at speed. Without a game module or
    // a debris model nothing is thrown and the object stays in its pool.
    static void Spawn(const Vec3& position, float life, int32_t minimum, int32_t maximum, float speed,
                      bool playSound, const WideString& soundName);
    // Every file "Models\Debris*.dcm"; empty when the data has none.
    static std::vector<std::unique_ptr<Model>>& Models();
    static int32_t FreeCount();

    void Release();
    const std::vector<DebrisPiece>& GetPieces() const { return pieces_; }
    float GetLife() const { return life_; }

protected:
    virtual void OnGameReset(const dcGameReset& message) { Release(); }
    virtual void OnUpdate(const dcUpdate& message);
    virtual void OnRender(const dcRender& message);

private:
    void Throw(const Vec3& position, int32_t count, float speed);

    float life_ = 0.0f;
    std::vector<DebrisPiece> pieces_;
};
// handlers: dcGameReset -> OnGameReset, dcUpdate -> OnUpdate, dcRender -> OnRender
