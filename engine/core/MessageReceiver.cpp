#include "engine/core/MessageReceiver.h"

#include "engine/core/Scene.h"

MessageReceiver::~MessageReceiver()
{
    if (scene_) {
        scene_->ReceiverDestroyed(this);
    }
}

MessageHandlerTable& MessageReceiver::HandlerTable()
{
    static MessageHandlerTable root(nullptr);
    return root;
}

void MessageReceiver::Release()
{
    if (scene_) {
        scene_->Delete(this);
    } else {
        delete this;
    }
}
