#pragma once
// A spent shell casing: it flies and spins under full gravity for up to 30
// seconds. Riding on a shell sensor it bounces off the surfaces the sensor
// found, clinks at its first bounce, and gives the sensor back once it comes
// to rest; released, it gives it back too. Casings are pooled, and out of
// view they go once they are older than 5 seconds.

#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"
#include "game/world/GameMessages.h"

#include <cstdint>

class dcShellSensor;

class dcShell : public MessageReceiver {
    DC_RECEIVER(dcShell, MessageReceiver)
public:
    static constexpr float kLife = 30.0f;
    static constexpr float kOutOfViewLife = 25.0f;   // below it, a casing out of view goes
    static constexpr float kRestingSpeedSquared = 0.5f;
    static constexpr int32_t kVoiceCount = 8;

    dcShell();

    // The casing model and the ring of clink voices; only the first call works.
    static void LoadSharedAssets();
    // Null without a game module. The sensor (or none) gains one user.
    static dcShell* Spawn(const Vec3& position, const Quaternion& orientation, const Vec3& velocity,
                          const Vec3& spin, dcShellSensor* sensor);
    static int32_t FreeCount();
    // Clinks played since the program started, for the ring's turn.
    static int32_t GetClinkCount();

    void Release();

    const Vec3& GetPosition() const { return position_; }
    const Vec3& GetVelocity() const { return velocity_; }
    const Quaternion& GetOrientation() const { return orientation_; }
    dcShellSensor* GetSensor() const { return sensor_; }
    float GetLife() const { return life_; }

protected:
    virtual void OnGameReset(const dcGameReset& message) { Release(); }
    virtual void OnUpdate(const dcUpdate& message);
    virtual void OnRender(const dcRender& message);

private:
    void Fly(float step);
    void Bounce();
    void Clink();
    void LetGoOfSensor();

    dcShellSensor* sensor_ = nullptr;
    Vec3 position_;
    Quaternion orientation_;
    Vec3 velocity_;   // units per second
    Vec3 spin_;       // radians per second
    float life_ = kLife;
    bool clinkPending_ = false;
};
// handlers: dcGameReset -> OnGameReset, dcUpdate -> OnUpdate, dcRender -> OnRender
