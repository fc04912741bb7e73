#pragma once
// The per-class table that binds message identities to a class's handler
// operations. A class's first construction fills it (under the handler lock),
// and it never changes afterwards. Lookups remember the last hit, shared by
// every object of the class, and fall back to the base class's table, so a
// derived class overrides a base handler by registering the same message.

#include "engine/core/CriticalSection.h"

#include <cstdint>
#include <type_traits>
#include <vector>

class MessageReceiver;

// The global lock under which handler tables are filled.
CriticalSection& HandlerLock();

class MessageHandlerTable {
public:
    using Handler = int32_t (*)(MessageReceiver* object, const void* payload, int32_t size, int32_t connection);

    explicit MessageHandlerTable(MessageHandlerTable* base) : base_(base) {}
    MessageHandlerTable(const MessageHandlerTable&) = delete;
    MessageHandlerTable& operator=(const MessageHandlerTable&) = delete;

    // Binds Msg to the member Method of Class, once per class and message.
    // Method takes `const Msg&` and, optionally, the connection it came from.
    template <class Class, class Msg, auto Method>
    void Register()
    {
        static bool registered = false;
        if (registered) {
            return;
        }
        CriticalSectionLock lock(HandlerLock());
        Append(Msg::Identity().Id(), &Thunk<Class, Msg, Method>);
        registered = true;
    }

    bool Handles(int32_t identity);
    // 1 when a handler ran, else 0.
    int32_t Dispatch(MessageReceiver* object, int32_t identity, const void* payload, int32_t size,
                     int32_t connection);

private:
    struct Entry {
        int32_t identity;
        Handler handler;
    };

    void Append(int32_t identity, Handler handler);
    const Entry* Find(int32_t identity);
    // Refusals name the network client the message came from, if any.
    static bool PayloadFits(MessageReceiver* object, int32_t identity, const void* payload, int32_t size,
                            int32_t needed, int32_t connection);

    template <class Class, class Msg, auto Method>
    static int32_t Thunk(MessageReceiver* object, const void* payload, int32_t size, int32_t connection)
    {
        if (!PayloadFits(object, Msg::Identity().Id(), payload, size, static_cast<int32_t>(sizeof(Msg)), connection)) {
            return 0;
        }
        Class* receiver = static_cast<Class*>(object);
        const Msg& message = *static_cast<const Msg*>(payload);
        if constexpr (std::is_invocable_v<decltype(Method), Class*, const Msg&, int32_t>) {
            (receiver->*Method)(message, connection);
        } else {
            (receiver->*Method)(message);
        }
        return 1;
    }

    std::vector<Entry> entries_;
    Entry lastHit_{0, nullptr};   // identities are positive, so the empty entry never matches
    MessageHandlerTable* base_;
};
