#include "engine/core/Scene.h"

#include "engine/core/EngineMessages.h"
#include "engine/core/LogHub.h"
#include "engine/core/MessageReceiver.h"
#include "engine/core/SceneObserver.h"

#include <algorithm>

Scene::~Scene()
{
    // Queued receivers were already asked to go; members and observers
    // outlive the scene, so they must not keep pointing at it.
    FlushDeletes();
    for (auto& [id, receiver] : receivers_) {
        receiver->scene_ = nullptr;
    }
    for (SceneObserver* observer : observers_) {
        observer->scene_ = nullptr;
    }
}

bool Scene::Insert(MessageReceiver* receiver, int32_t id)
{
    auto [entry, inserted] = receivers_.emplace(id, receiver);
    if (!inserted) {
        LogHub::PrintError("Scene: id %d is taken by %s, %s stays out", id, entry->second->GetClassName().c_str(),
                           receiver->GetClassName().c_str());
        return false;
    }
    receiver->id_ = id;
    receiver->scene_ = this;
    for (SceneObserver* observer : std::vector<SceneObserver*>(observers_)) {
        observer->OnAdded(receiver);
    }
    return true;
}

int32_t Scene::Add(MessageReceiver* receiver)
{
    return AddWithId(receiver, NewId());
}

int32_t Scene::AddWithId(MessageReceiver* receiver, int32_t id)
{
    if (!Insert(receiver, id)) {
        return 0;
    }
    return SendSceneAdd(receiver);
}

int32_t Scene::SendSceneAdd(MessageReceiver* receiver)
{
    return receiver->Send(dcSceneAdd{});
}

MessageReceiver* Scene::FindReceiver(int32_t id) const
{
    if (id == 0) {
        return nullptr;
    }
    auto found = receivers_.find(id);
    return found == receivers_.end() ? nullptr : found->second;
}

// Erases the receiver's own entry only, never another receiver's under the
// same id.
bool Scene::EraseEntry(MessageReceiver* receiver)
{
    auto found = receivers_.find(receiver->id_);
    if (found == receivers_.end() || found->second != receiver) {
        return false;
    }
    receivers_.erase(found);
    return true;
}

bool Scene::Remove(MessageReceiver* receiver)
{
    receiver->Send(dcSceneDel{});
    for (SceneObserver* observer : std::vector<SceneObserver*>(observers_)) {
        observer->OnRemoved(receiver);
    }
    const bool erased = EraseEntry(receiver);
    receiver->scene_ = nullptr;
    if (receiver->id_ < 0) {
        receiver->id_ = 0;
    }
    return erased;
}

bool Scene::IsQueued(MessageReceiver* receiver) const
{
    return std::find(deferred_.begin(), deferred_.end(), receiver) != deferred_.end();
}

void Scene::Delete(MessageReceiver* receiver)
{
    if (!receiver) {
        return;
    }
    if (dispatchDepth_ == 0) {
        Remove(receiver);
        delete receiver;
        return;
    }
    if (IsQueued(receiver)) {
        return;
    }
    Remove(receiver);
    // Kept pointing here, so a second release during this delivery finds it queued.
    receiver->scene_ = this;
    deferred_.push_back(receiver);
}

void Scene::DeleteById(int32_t id)
{
    if (MessageReceiver* receiver = FindReceiver(id)) {
        Delete(receiver);
    }
}

void Scene::FlushDeletes()
{
    while (!deferred_.empty()) {
        MessageReceiver* receiver = deferred_.back();
        deferred_.pop_back();
        receiver->scene_ = nullptr;
        delete receiver;
    }
}

bool Scene::Rekey(MessageReceiver* receiver, int32_t newId)
{
    if (receivers_.count(newId) != 0) {
        LogHub::PrintError("Scene: id %d is taken, %s keeps id %d", newId, receiver->GetClassName().c_str(),
                           receiver->id_);
        return false;
    }
    EraseEntry(receiver);
    receivers_.emplace(newId, receiver);
    receiver->id_ = newId;
    return true;
}

void Scene::TransferTo(Scene& other)
{
    for (auto& [id, receiver] : receivers_) {
        if (!other.Insert(receiver, id)) {
            receiver->scene_ = nullptr;
        }
    }
    receivers_.clear();
    other.nextId_ = nextId_;
    // The observers follow their members, so a later replay reads the scene
    // that holds them.
    other.observers_ = observers_;
    for (SceneObserver* observer : observers_) {
        observer->scene_ = &other;
    }
    observers_.clear();
}

void Scene::CollectHandlers(int32_t identity, std::vector<MessageReceiver*>& receivers) const
{
    for (const auto& [id, receiver] : receivers_) {
        if (receiver->HandlesMessage(identity)) {
            receivers.push_back(receiver);
        }
    }
}

void Scene::LeaveDispatch()
{
    if (--dispatchDepth_ == 0) {
        FlushDeletes();
    }
}

int32_t Scene::Broadcast(int32_t identity, const void* payload, int32_t size, int32_t connection)
{
    EnterDispatch();
    std::vector<MessageReceiver*> snapshot;
    CollectHandlers(identity, snapshot);
    deliveries_.push_back(&snapshot);
    int32_t handled = 0;
    for (MessageReceiver* receiver : snapshot) {
        if (receiver) {
            handled += receiver->HandleMessage(identity, payload, size, connection);
        }
    }
    deliveries_.pop_back();
    LeaveDispatch();
    return handled;
}

void Scene::AddObserver(SceneObserver* observer)
{
    observer->scene_ = this;
    observers_.push_back(observer);
    ReplayTo(observer);
}

void Scene::RemoveObserver(SceneObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
    observer->scene_ = nullptr;
}

void Scene::ReplayTo(SceneObserver* observer)
{
    observer->OnReset();
    for (const auto& [id, receiver] : receivers_) {
        observer->OnAdded(receiver);
    }
}

void Scene::ReceiverDestroyed(MessageReceiver* receiver)
{
    for (SceneObserver* observer : std::vector<SceneObserver*>(observers_)) {
        observer->OnDestroyed(receiver);
    }
    EraseEntry(receiver);
    // Destroyed by its owner while queued or while a broadcast holds it.
    deferred_.erase(std::remove(deferred_.begin(), deferred_.end(), receiver), deferred_.end());
    for (std::vector<MessageReceiver*>* delivery : deliveries_) {
        std::replace(delivery->begin(), delivery->end(), receiver, static_cast<MessageReceiver*>(nullptr));
    }
}

void Scene::DumpEntities() const
{
    struct TypeCount {
        int32_t identity;
        WideString name;
        int32_t count;
    };
    std::vector<TypeCount> types;
    for (const auto& [id, receiver] : receivers_) {
        const int32_t identity = receiver->GetClassID();
        auto found = std::find_if(types.begin(), types.end(), [identity](const TypeCount& t) { return t.identity == identity; });
        if (found == types.end()) {
            types.push_back({identity, receiver->GetClassName(), 1});
        } else {
            ++found->count;
        }
    }
    const int32_t entities = Count();
    const int32_t typeCount = static_cast<int32_t>(types.size());
    LogHub::Printf("^1EntityDump list (%d entities active)", entities);
    LogHub::Printf("^1EntityDump stats (%d types active)", typeCount);
    for (const TypeCount& type : types) {
        LogHub::Printf("EntityType: Name = %s", type.name.c_str());
        LogHub::Printf("EntityType: Count = %d", type.count);
        LogHub::Printf("");
    }
    LogHub::Printf("^1EntityDump complete (%d entities active) (%d types active)", entities, typeCount);
}
