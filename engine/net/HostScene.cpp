#include "engine/net/HostScene.h"

#include "engine/core/LogHub.h"
#include "engine/net/NetFrame.h"
#include "engine/net/NetServer.h"
#include "engine/net/SceneDelivery.h"

HostScene::~HostScene()
{
    SetServer(nullptr);
}

void HostScene::SetServer(NetServer* server)
{
    if (server_) {
        server_->scene_ = nullptr;
    }
    server_ = server;
    if (!server) {
        return;
    }
    if (server->scene_ && server->scene_ != this) {
        server->scene_->server_ = nullptr;
    }
    server->scene_ = this;
}

void HostScene::Send(int32_t target, int32_t identity, const void* payload, int32_t size, int32_t clientId)
{
    if (!server_) {
        LogHub::PrintError("HostScene: message %d not sent, the scene has no server", identity);
        return;
    }
    const std::vector<char> frame = BuildFrame(target, identity, payload, size);
    if (frame.empty()) {
        return;
    }
    server_->SendFrame(frame, clientId);
}

void HostScene::Deliver(int32_t target, int32_t identity, const void* payload, int32_t size, int32_t clientId)
{
    MessageReceiver* receiver = target == kHostTarget ? defaultReceiver_ : FindReceiver(target);
    DeliverInScene(*this, receiver, identity, payload, size, clientId);
}
