#pragma once
// A registry of message receivers by int32 id: the game's entities, and the
// host's and client's network-facing scenes. It tells receivers when they join
// (dcSceneAdd) and leave (dcSceneDel), broadcasts messages to every member
// that handles their type, and defers deletions while a delivery runs, so no
// delivery ever reaches a freed receiver.

#include <cstdint>
#include <map>
#include <vector>

class MessageReceiver;
class SceneObserver;

class Scene {
public:
    Scene() = default;
    virtual ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Each concrete scene hands out its own ids.
    virtual int32_t NewId() = 0;

    // An id can name only one receiver: a receiver offered a taken id stays
    // out of the scene (logged) and Insert answers false.
    bool Insert(MessageReceiver* receiver, int32_t id);
    // Insert, then dcSceneAdd to the receiver; the handler's result.
    int32_t Add(MessageReceiver* receiver);
    int32_t AddWithId(MessageReceiver* receiver, int32_t id);
    int32_t SendSceneAdd(MessageReceiver* receiver);

    MessageReceiver* FindReceiver(int32_t id) const;
    // dcSceneDel, observers told, entry erased; true when an entry was erased.
    bool Remove(MessageReceiver* receiver);
    // Remove and destroy; queued while a delivery runs.
    void Delete(MessageReceiver* receiver);
    void DeleteById(int32_t id);
    // Destroys the queued receivers, the last queued first.
    void FlushDeletes();
    // Moves the receiver to a new id (a car taking the id its host gave it);
    // refused, logged, when the id is taken.
    bool Rekey(MessageReceiver* receiver, int32_t newId);
    // Hands every member, the id counter and the observers to the other scene.
    void TransferTo(Scene& other);

    // Delivers to every member that handles the type; the number whose
    // handler ran.
    int32_t Broadcast(int32_t identity, const void* payload, int32_t size, int32_t connection);
    template <class Msg>
    int32_t Broadcast(const Msg& message)
    {
        return Broadcast(Msg::Identity().Id(), &message, static_cast<int32_t>(sizeof(Msg)), 0);
    }
    // Appends, in id order, every member that handles the type. Code that then
    // delivers to them raises the dispatch depth around the deliveries.
    void CollectHandlers(int32_t identity, std::vector<MessageReceiver*>& receivers) const;
    void EnterDispatch() { ++dispatchDepth_; }
    void LeaveDispatch();

    void AddObserver(SceneObserver* observer);
    void RemoveObserver(SceneObserver* observer);
    void ReplayTo(SceneObserver* observer);
    // Called by a receiver's destructor.
    void ReceiverDestroyed(MessageReceiver* receiver);

    // The ENTITYDUMP report: members counted by type.
    void DumpEntities() const;

    int32_t Count() const { return static_cast<int32_t>(receivers_.size()); }
    // The id the next NewId hands out; peers agree on it at a game's start.
    int32_t GetNextId() const { return nextId_; }
    void SetNextId(int32_t id) { nextId_ = id; }
    int32_t GetDispatchDepth() const { return dispatchDepth_; }

protected:
    int32_t nextId_ = 0;   // the counter derived scenes make ids from

private:
    // Ids are ordered as unsigned values.
    struct IdOrder {
        bool operator()(int32_t a, int32_t b) const { return static_cast<uint32_t>(a) < static_cast<uint32_t>(b); }
    };

    bool EraseEntry(MessageReceiver* receiver);
    bool IsQueued(MessageReceiver* receiver) const;

    std::map<int32_t, MessageReceiver*, IdOrder> receivers_;
    std::vector<SceneObserver*> observers_;
    std::vector<MessageReceiver*> deferred_;
    // Receiver lists of the broadcasts under way; a receiver destroyed
    // meanwhile is blanked out of them.
    std::vector<std::vector<MessageReceiver*>*> deliveries_;
    int32_t dispatchDepth_ = 0;
};
