#pragma once
// The messages with which the game module and the world drive the game's
// entities besides the per-step ones (engine/core/FrameMessages.h): the
// per-mission reset, the visibility test, and the queries by which one entity
// asks another for its place, its camera frame or its physics geometry. None
// leaves the process: several carry pointers, so their sizes differ between
// 32- and 64-bit builds. A receiver answers a query by writing into the
// record it is handed; handlers see records as const, so every field a
// receiver may answer through is mutable.

#include "engine/core/Message.h"
#include "engine/core/MessageReceiver.h"
#include "engine/core/Scene.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"

#include <cstdint>

class Camera;
class PhysicsGeom;

// End of the current mission, or its restart: release or clear.
struct dcGameReset {
    DC_LOCAL_MESSAGE(dcGameReset)
    enum Reason : uint8_t {
        kEndOfGame = 0,   // the game module ends the game mode
        kRestart = 1,     // the game mode reloads its mission
    };
    uint8_t reason;
};

// Should this camera draw you? The receiver answers in place.
struct dcVisTest {
    DC_LOCAL_MESSAGE(dcVisTest)
    const Camera* camera;
    int32_t firstPass;
    int32_t passCount;
    mutable uint8_t visible;       // 0 when sent; 1 when the camera sees the receiver
    mutable uint8_t wantsRender;   // 1 when sent; cleared by a seen receiver that draws by other means
    uint8_t unused[2];
};

// Where are you? Filled by the receiver; the sender keeps these values when nobody answers.
struct dcOrientation {
    DC_LOCAL_MESSAGE(dcOrientation)
    mutable Vec3 position;            // (0, 0, 0) when sent
    mutable Quaternion orientation;   // (0, 0, 0, 1) when sent
};

// How should the game camera frame you? Filled by the receiver.
struct dcCamOrientation {
    DC_LOCAL_MESSAGE(dcCamOrientation)
    int32_t mode;              // the camera mode asked for
    mutable Vec3 anchor;           // where the camera hangs
    mutable Quaternion body;       // the receiver's body orientation
    mutable Quaternion view;       // the direction it suggests looking in
    mutable Vec3 motion;           // its movement, world space
};

// Which physics geometry stands for you? Filled by the receiver.
struct dcGetGeometry {
    DC_LOCAL_MESSAGE(dcGetGeometry)
    mutable PhysicsGeom* geometry = nullptr;
};

// Draw yourself for the mission editor's view of the world, in this pass.
struct dcTriggerRender {
    DC_LOCAL_MESSAGE(dcTriggerRender)
    const Camera* camera;
    int32_t pass;      // 0 to 31
    int32_t passBit;   // 1 << pass
};

// The game has started: objects showing items of the DFEngine component set
// them up. The byte carries nothing.
struct dcInitAds {
    DC_LOCAL_MESSAGE(dcInitAds)
    uint8_t unused;
};

// Hands the message to the entity with the id, at once: what its handler
// answered, 0 when the scene holds no such entity (id 0 never names one).
template <class Msg>
int32_t SendToEntity(Scene& scene, int32_t id, Msg& message)
{
    MessageReceiver* receiver = id != 0 ? scene.FindReceiver(id) : nullptr;
    return receiver ? receiver->HandleMessage(Msg::Identity().Id(), &message, static_cast<int32_t>(sizeof(Msg)), 0)
                    : 0;
}
