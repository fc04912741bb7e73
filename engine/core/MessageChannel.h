#pragma once
// Keeps the members of a scene that handle any of a set of message types, so
// frequent messages go straight to the receivers that want them.

#include "engine/core/ReceiverList.h"
#include "engine/core/SceneObserver.h"

class MessageChannel : public SceneObserver {
public:
    // Rebuilds the list from the scene when the channel already observes one.
    void AddIdentity(int32_t identity);

    void OnAdded(MessageReceiver* receiver) override;
    void OnRemoved(MessageReceiver* receiver) override;
    void OnDestroyed(MessageReceiver* receiver) override;
    void OnReset() override;
    // The number of receivers whose handler ran. A receiver that leaves the
    // list during the broadcast is not called afterwards, and none is skipped.
    int32_t Broadcast(int32_t identity, const void* payload, int32_t size, int32_t connection) override;

    template <class Msg>
    int32_t Broadcast(const Msg& message)
    {
        return Broadcast(Msg::Identity().Id(), &message, static_cast<int32_t>(sizeof(Msg)), 0);
    }

    const std::vector<MessageReceiver*>& Receivers() const { return receivers_.Members(); }

private:
    bool Wants(MessageReceiver* receiver) const;

    ReceiverList receivers_;
};
