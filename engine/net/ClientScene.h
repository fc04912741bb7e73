#pragma once
// A client's network-facing scene: it sends messages to the host through its
// client and delivers what the host sends to the addressed object. Ids run
// 3, 4, 5, ... and are never reused.

#include "engine/core/Message.h"
#include "engine/core/Scene.h"

#include <cstdint>

class MessageReceiver;
class NetClient;

class ClientScene : public Scene {
public:
    ClientScene() { nextId_ = 3; }
    ~ClientScene() override;

    int32_t NewId() override { return nextId_++; }

    // Links scene and client both ways; null unlinks.
    void SetClient(NetClient* client);
    NetClient* GetClient() const { return client_; }
    // The receiver of target 1, not owned.
    void SetDefaultReceiver(MessageReceiver* receiver) { defaultReceiver_ = receiver; }

    // Frames the message for the host: the frame's length once sent or
    // queued, -1 when there is no open link or it failed.
    int32_t Send(int32_t target, int32_t identity, const void* payload, int32_t size);
    template <class Msg>
    int32_t Send(int32_t target, const Msg& message)
    {
        static_assert(!LocalOnlyMessage<Msg>, "local-only messages never cross the network");
        static_assert(FixedLayoutRecord<Msg>, "a message that crosses the network declares its DC_FIXED_LAYOUT");
        return Send(target, Msg::Identity().Id(), &message, static_cast<int32_t>(sizeof(Msg)));
    }

    // Target 1 reaches the default receiver, target 0 (the host's own) is
    // ignored, any other the object with that id; a message for nobody is
    // dropped.
    void Deliver(int32_t target, int32_t identity, const void* payload, int32_t size);

private:
    MessageReceiver* defaultReceiver_ = nullptr;
    NetClient* client_ = nullptr;
};
