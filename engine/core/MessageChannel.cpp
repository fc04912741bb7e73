#include "engine/core/MessageChannel.h"

#include "engine/core/MessageReceiver.h"
#include "engine/core/Scene.h"

#include <algorithm>

void MessageChannel::AddIdentity(int32_t identity)
{
    identities_.push_back(identity);
    if (GetScene()) {
        GetScene()->ReplayTo(this);
    }
}

bool MessageChannel::Wants(MessageReceiver* receiver) const
{
    return std::any_of(identities_.begin(), identities_.end(),
                       [receiver](int32_t identity) { return receiver->HandlesMessage(identity); });
}

void MessageChannel::OnAdded(MessageReceiver* receiver)
{
    if (Wants(receiver)) {
        receivers_.Append(receiver);
    }
}

void MessageChannel::OnRemoved(MessageReceiver* receiver)
{
    if (Wants(receiver)) {
        receivers_.Erase(receiver);
    }
}

void MessageChannel::OnDestroyed(MessageReceiver* receiver)
{
    receivers_.Erase(receiver);
}

void MessageChannel::OnReset()
{
    receivers_.Clear();
}

int32_t MessageChannel::Broadcast(int32_t identity, const void* payload, int32_t size, int32_t connection)
{
    int32_t handled = 0;
    receivers_.ForEach([&](MessageReceiver* receiver) {
        handled += receiver->HandleMessage(identity, payload, size, connection);
    });
    return handled;
}
