#include "engine/core/MessageHandlerTable.h"

#include "engine/core/LogHub.h"
#include "engine/core/MessageReceiver.h"

CriticalSection& HandlerLock()
{
    static CriticalSection lock;
    return lock;
}

void MessageHandlerTable::Append(int32_t identity, Handler handler)
{
    entries_.push_back({identity, handler});
}

const MessageHandlerTable::Entry* MessageHandlerTable::Find(int32_t identity)
{
    // The remembered entry is empty until the first hit.
    if (lastHit_.handler && lastHit_.identity == identity) {
        return &lastHit_;
    }
    for (const Entry& entry : entries_) {
        if (entry.identity == identity) {
            lastHit_ = entry;
            return &lastHit_;
        }
    }
    return nullptr;
}

bool MessageHandlerTable::Handles(int32_t identity)
{
    if (Find(identity)) {
        return true;
    }
    return base_ && base_->Handles(identity);
}

int32_t MessageHandlerTable::Dispatch(MessageReceiver* object, int32_t identity, const void* payload, int32_t size,
                                      int32_t connection)
{
    if (const Entry* entry = Find(identity)) {
        return entry->handler(object, payload, size, connection);
    }
    return base_ ? base_->Dispatch(object, identity, payload, size, connection) : 0;
}

bool MessageHandlerTable::PayloadFits(MessageReceiver* object, int32_t identity, const void* payload, int32_t size,
                                      int32_t needed, int32_t connection)
{
    if (payload && size >= needed) {
        return true;
    }
    WideString sender;
    if (connection != 0) {
        FormatWideString(sender, " from client %d", connection);
    }
    LogHub::PrintError("%s: message %d%s refused, its payload holds %d of %d bytes", object->GetClassName().c_str(),
                       identity, sender.c_str(), payload ? size : 0, needed);
    return false;
}
