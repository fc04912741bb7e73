#include "engine/audio/DS8Audio.h"
#include "engine/audio/PositionalSound.h"
#include "engine/math/Quaternion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

Sound3D SoundAt(Vec3 position, float minimum, float maximum)
{
    Sound3D sound;
    sound.position = position;
    sound.SetRange(minimum, maximum);
    return sound;
}

// Turned about the up axis by the angle in degrees; at 90 the listener faces +x.
Quaternion Yaw(float degrees)
{
    return Quaternion::FromAxisAngle(kWorldUp, degrees * 3.14159265f / 180.0f);
}

} // namespace

TEST(PositionalSound, VolumeFallsLinearlyFromTheMinimumToTheMaximumDistance)
{
    struct Case { float x; float volume; };
    const ListenerPose listener;
    for (const Case& c : std::initializer_list<Case>{
             {0.5f, 0.8f}, {2.0f, 0.8f}, {6.0f, 0.4f}, {9.0f, 0.1f}, {10.0f, 0.0f}, {10.5f, 0.0f}, {-6.0f, 0.4f}}) {
        const VolumePan placed = PlaceSound(listener, SoundAt({c.x, 0.0f, 0.0f}, 2.0f, 10.0f), 0.8f);
        EXPECT_NEAR(placed.volume, c.volume, 1e-5f) << "at x = " << c.x;
    }
}

TEST(PositionalSound, PanFollowsTheSideTheSoundIsOn)
{
    struct Case { Vec3 position; Quaternion orientation; float pan; };
    for (const Case& c : std::initializer_list<Case>{
             {{3.0f, 0.0f, 0.0f}, {}, 1.0f},
             {{-3.0f, 0.0f, 0.0f}, {}, -1.0f},
             {{0.0f, 0.0f, 3.0f}, {}, 0.0f},
             {{3.0f, 0.0f, 3.0f}, {}, 0.70710677f},
             {{0.0f, 0.0f, 0.0f}, {}, 0.0f},
             // Facing +x, the listener's right is -z.
             {{0.0f, 0.0f, -3.0f}, Yaw(90.0f), 1.0f},
             {{0.0f, 0.0f, 3.0f}, Yaw(90.0f), -1.0f},
             {{3.0f, 0.0f, 0.0f}, Yaw(90.0f), 0.0f}}) {
        ListenerPose listener;
        Quaternion::ToMatrix(c.orientation, listener.orientation);
        const VolumePan placed = PlaceSound(listener, SoundAt(c.position, 1.0f, 10.0f), 1.0f);
        EXPECT_NEAR(placed.pan, c.pan, 1e-5f) << c.position.x << ", " << c.position.z;
    }
}

TEST(PositionalSound, ARangeWithoutFalloffIsFullInsideAndSilentAtItsEdge)
{
    const ListenerPose listener;
    for (float x : {0.0f, 2.0f, 4.999f}) {
        const VolumePan placed = PlaceSound(listener, SoundAt({x, 0.0f, 0.0f}, 5.0f, 5.0f), 0.6f);
        EXPECT_FLOAT_EQ(placed.volume, 0.6f) << x;
    }
    EXPECT_EQ(PlaceSound(listener, SoundAt({5.0f, 0.0f, 0.0f}, 5.0f, 5.0f), 0.6f).volume, 0.0f);
    EXPECT_EQ(PlaceSound(listener, SoundAt({0.0f, 0.0f, 0.0f}, 0.0f, 0.0f), 0.6f).volume, 0.0f);
}

TEST(PositionalSound, TheListenerPoseMovesTheSound)
{
    ListenerPose listener;
    listener.position = {100.0f, 0.0f, 0.0f};
    const VolumePan placed = PlaceSound(listener, SoundAt({103.0f, 0.0f, 0.0f}, 1.0f, 5.0f), 1.0f);
    EXPECT_NEAR(placed.volume, 0.5f, 1e-6f);
    EXPECT_NEAR(placed.pan, 1.0f, 1e-6f);
}

TEST(PositionalSound, DevicePlacesItsPositionalVoicesEachFrame)
{
    DS8Audio device;
    SoundRef ref;
    ref.positional = true;
    ref.MakeDefault();
    Voice* voice = device.CreateVoice(ref);
    ASSERT_NE(voice->Get3D(), nullptr);
    voice->Set3DRange(1.0f, 11.0f);
    voice->Set3DPosition({0.0f, 0.0f, -6.0f});
    voice->SetVolume(0.8f);
    voice->SetPitch(2.0f);
    device.SetListenerOrientation(Yaw(90.0f));
    voice->Play(true);
    EXPECT_NEAR(voice->GetChannel().GetVolume(), 0.4f, 1e-6f);
    EXPECT_NEAR(voice->GetChannel().GetPan(), 1.0f, 1e-6f);
    EXPECT_FLOAT_EQ(voice->GetChannel().GetPitch(), 2.0f);

    device.SetListenerPosition({0.0f, 0.0f, -6.0f});
    device.Update(0.02f);
    EXPECT_NEAR(voice->GetChannel().GetVolume(), 0.8f, 1e-6f);
    EXPECT_EQ(voice->GetChannel().GetPan(), 0.0f);
    device.DestroyVoice(voice);
}
