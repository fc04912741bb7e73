#include "engine/net/ClientScene.h"

#include "engine/core/LogHub.h"
#include "engine/net/NetClient.h"
#include "engine/net/NetFrame.h"
#include "engine/net/SceneDelivery.h"

ClientScene::~ClientScene()
{
    SetClient(nullptr);
}

void ClientScene::SetClient(NetClient* client)
{
    if (client_) {
        client_->scene_ = nullptr;
    }
    client_ = client;
    if (!client) {
        return;
    }
    if (client->scene_ && client->scene_ != this) {
        client->scene_->client_ = nullptr;
    }
    client->scene_ = this;
}

int32_t ClientScene::Send(int32_t target, int32_t identity, const void* payload, int32_t size)
{
    if (!client_) {
        LogHub::PrintError("ClientScene: message %d not sent, the scene has no client", identity);
        return -1;
    }
    const std::vector<char> frame = BuildFrame(target, identity, payload, size);
    if (frame.empty()) {
        return -1;
    }
    return client_->SendFrame(frame);
}

void ClientScene::Deliver(int32_t target, int32_t identity, const void* payload, int32_t size)
{
    if (target == kHostTarget) {
        return;
    }
    MessageReceiver* receiver = target == kClientTarget ? defaultReceiver_ : FindReceiver(target);
    DeliverInScene(*this, receiver, identity, payload, size, 0);
}
