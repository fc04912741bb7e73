#include "engine/net/SceneDelivery.h"

#include "engine/core/MessageReceiver.h"
#include "engine/core/Scene.h"

void DeliverInScene(Scene& scene, MessageReceiver* receiver, int32_t identity, const void* payload, int32_t size,
                    int32_t connection)
{
    if (!receiver) {
        return;
    }
    scene.EnterDispatch();
    receiver->HandleMessage(identity, payload, size, connection);
    scene.LeaveDispatch();
}
