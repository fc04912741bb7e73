#include "engine/core/ReceiverList.h"

#include <algorithm>

bool ReceiverList::Erase(MessageReceiver* receiver)
{
    auto found = std::find(receivers_.begin(), receivers_.end(), receiver);
    if (found == receivers_.end()) {
        return false;
    }
    const size_t index = static_cast<size_t>(found - receivers_.begin());
    receivers_.erase(found);
    for (size_t* cursor : cursors_) {
        if (index < *cursor) {
            --*cursor;
        }
    }
    return true;
}

void ReceiverList::Clear()
{
    receivers_.clear();
    for (size_t* cursor : cursors_) {
        *cursor = 0;
    }
}

bool ReceiverList::Contains(const MessageReceiver* receiver) const
{
    return std::find(receivers_.begin(), receivers_.end(), receiver) != receivers_.end();
}
