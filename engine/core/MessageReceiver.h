#pragma once
// The interface through which scenes, channels and network links deliver
// messages to an object. A receiving class starts its body with
// DC_RECEIVER(Class, Base) and registers its handlers in its constructor, in
// the order it lists them:
//
//     class dcVolumeTrigger : public dcTrigger {
//         DC_RECEIVER(dcVolumeTrigger, dcTrigger)
//     public:
//         dcVolumeTrigger();
//     protected:
//         virtual void OnEnter(const dcVolumeEnter& msg);
//     };
//     // handlers: dcVolumeEnter -> OnEnter
//
//     dcVolumeTrigger::dcVolumeTrigger() { Handles<dcVolumeEnter, &dcVolumeTrigger::OnEnter>(); }
//
// Handlers are ordinary virtual operations, so a derived class may also
// change a base handler by overriding the operation.

#include "engine/core/ClassIdentity.h"
#include "engine/core/Message.h"
#include "engine/core/MessageHandlerTable.h"

#include <cstdint>

class Scene;

class MessageReceiver {
public:
    MessageReceiver() = default;
    // A copy is in no scene, whatever the state of the receiver copied.
    MessageReceiver(const MessageReceiver&) {}
    MessageReceiver& operator=(const MessageReceiver&) { return *this; }
    virtual ~MessageReceiver();

    virtual WideString GetClassName() const = 0;
    virtual int32_t GetClassID() const = 0;
    virtual bool HandlesMessage(int32_t identity) { return HandlerTable().Handles(identity); }
    // 1 when a handler ran. The connection is the network client a message
    // came from on the host, 0 for local deliveries.
    virtual int32_t HandleMessage(int32_t identity, const void* payload, int32_t size, int32_t connection)
    {
        return HandlerTable().Dispatch(this, identity, payload, size, connection);
    }

    // The empty table at the root of every class's table chain.
    static MessageHandlerTable& HandlerTable();

    // Leaves the scene through its deferred deletion, or destroys the object
    // at once when it is in none.
    void Release();

    Scene* GetScene() const { return scene_; }
    int32_t GetId() const { return id_; }

    // Typed local delivery: HandleMessage with the payload record.
    template <class Msg>
    int32_t Send(const Msg& message)
    {
        return HandleMessage(Msg::Identity().Id(), &message, static_cast<int32_t>(sizeof(Msg)), 0);
    }

private:
    friend class Scene;

    Scene* scene_ = nullptr;
    int32_t id_ = 0;
};

#define DC_RECEIVER(Class, Base) DC_BORROWING_RECEIVER(Class, Base, Class)

// A receiving class that carries the identity of another (DC_BORROWED_IDENTITY).
#define DC_BORROWING_RECEIVER(Class, Base, Owner)                                                       \
public:                                                                                                 \
    DC_BORROWED_IDENTITY(Class, Owner)                                                                  \
    static MessageHandlerTable& HandlerTable()                                                          \
    {                                                                                                   \
        static MessageHandlerTable table(&Base::HandlerTable());                                        \
        return table;                                                                                   \
    }                                                                                                   \
    WideString GetClassName() const override { return Identity().Name(); }                              \
    int32_t GetClassID() const override { return Identity().Id(); }                                     \
    bool HandlesMessage(int32_t identity) override { return HandlerTable().Handles(identity); }          \
    int32_t HandleMessage(int32_t identity, const void* payload, int32_t size, int32_t connection) override \
    {                                                                                                   \
        return HandlerTable().Dispatch(this, identity, payload, size, connection);                      \
    }                                                                                                   \
                                                                                                        \
protected:                                                                                              \
    template <class Msg, auto Method>                                                                   \
    static void Handles()                                                                               \
    {                                                                                                   \
        HandlerTable().template Register<Class, Msg, Method>();                                         \
    }                                                                                                   \
                                                                                                        \
private:
