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

void MessageChannel::Erase(MessageReceiver* receiver)
{
    auto found = std::find(receivers_.begin(), receivers_.end(), receiver);
    if (found == receivers_.end()) {
        return;
    }
    const size_t index = static_cast<size_t>(found - receivers_.begin());
    receivers_.erase(found);
    for (size_t* cursor : cursors_) {
        if (index < *cursor) {
            --*cursor;
        }
    }
}

void MessageChannel::OnAdded(MessageReceiver* receiver)
{
    if (Wants(receiver)) {
        receivers_.push_back(receiver);
    }
}

void MessageChannel::OnRemoved(MessageReceiver* receiver)
{
    if (Wants(receiver)) {
        Erase(receiver);
    }
}

void MessageChannel::OnDestroyed(MessageReceiver* receiver)
{
    Erase(receiver);
}

void MessageChannel::OnReset()
{
    receivers_.clear();
    for (size_t* cursor : cursors_) {
        *cursor = 0;
    }
}

int32_t MessageChannel::Broadcast(int32_t identity, const void* payload, int32_t size, int32_t connection)
{
    int32_t handled = 0;
    size_t next = 0;
    cursors_.push_back(&next);
    while (next < receivers_.size()) {
        MessageReceiver* receiver = receivers_[next++];
        handled += receiver->HandleMessage(identity, payload, size, connection);
    }
    cursors_.pop_back();
    return handled;
}
