#pragma once
// Follows the membership of a scene: told of every receiver that joins,
// leaves or is destroyed while in it.

#include <cstdint>
#include <vector>

class MessageReceiver;
class Scene;

class SceneObserver {
public:
    SceneObserver() = default;
    // Leaves the scene it observes.
    virtual ~SceneObserver();
    SceneObserver(const SceneObserver&) = delete;
    SceneObserver& operator=(const SceneObserver&) = delete;

    virtual void OnAdded(MessageReceiver* receiver) = 0;
    virtual void OnRemoved(MessageReceiver* receiver) = 0;
    virtual void OnDestroyed(MessageReceiver* receiver) = 0;
    // The scene is about to replay its members.
    virtual void OnReset() {}
    virtual int32_t Broadcast(int32_t identity, const void* payload, int32_t size, int32_t connection) { return 0; }

    Scene* GetScene() const { return scene_; }

protected:
    std::vector<int32_t> identities_;   // the message types the observer cares for

private:
    friend class Scene;

    Scene* scene_ = nullptr;
};
