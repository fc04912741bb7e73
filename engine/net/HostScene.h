#pragma once
// The host's network-facing scene: it sends messages to one client or to all
// through its server, and delivers what clients send to the addressed
// object. The game's own entity scene is a HostScene too, with no server.
// Its ids, which the server also gives its clients, run 3, 4, 5, ... and are
// never reused.

#include "engine/core/Message.h"
#include "engine/core/Scene.h"

#include <cstdint>

class MessageReceiver;
class NetServer;

class HostScene : public Scene {
public:
    HostScene() { nextId_ = 3; }
    ~HostScene() override;

    int32_t NewId() override { return nextId_++; }

    // Links scene and server both ways; null unlinks.
    void SetServer(NetServer* server);
    NetServer* GetServer() const { return server_; }
    // The receiver of target 0, not owned.
    void SetDefaultReceiver(MessageReceiver* receiver) { defaultReceiver_ = receiver; }

    // Frames the message for one client, or for every client when clientId
    // is 0. A client whose link fails is dropped and reported with
    // dcDisconnectMessage.
    void Send(int32_t target, int32_t identity, const void* payload, int32_t size, int32_t clientId);
    template <class Msg>
    void Send(int32_t target, const Msg& message, int32_t clientId)
    {
        static_assert(!LocalOnlyMessage<Msg>, "local-only messages never cross the network");
        static_assert(FixedLayoutRecord<Msg>, "a message that crosses the network declares its DC_FIXED_LAYOUT");
        Send(target, Msg::Identity().Id(), &message, static_cast<int32_t>(sizeof(Msg)), clientId);
    }

    // Target 0 reaches the default receiver, any other the object with that
    // id; a message for nobody is dropped.
    void Deliver(int32_t target, int32_t identity, const void* payload, int32_t size, int32_t clientId);

private:
    MessageReceiver* defaultReceiver_ = nullptr;
    NetServer* server_ = nullptr;
};
