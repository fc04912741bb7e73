#pragma once
// An ordered list of receivers that may change while it is being walked: a
// receiver handed a message may add members (appended, and reached by the
// same walk) or make others leave (never reached afterwards, and no other
// member is skipped or met twice).

#include <cstddef>
#include <cstdint>
#include <vector>

class MessageReceiver;

class ReceiverList {
public:
    void Append(MessageReceiver* receiver) { receivers_.push_back(receiver); }
    // The first entry of the receiver, if any; false when it was not listed.
    bool Erase(MessageReceiver* receiver);
    // Empties the list; walks under way end.
    void Clear();
    bool Contains(const MessageReceiver* receiver) const;

    // Hands each member to the visitor in order, following changes made meanwhile.
    template <class Visitor>
    void ForEach(Visitor&& visit)
    {
        size_t next = 0;
        cursors_.push_back(&next);
        while (next < receivers_.size()) {
            visit(receivers_[next++]);
        }
        cursors_.pop_back();
    }

    const std::vector<MessageReceiver*>& Members() const { return receivers_; }
    int32_t Count() const { return static_cast<int32_t>(receivers_.size()); }

private:
    std::vector<MessageReceiver*> receivers_;
    std::vector<size_t*> cursors_;   // positions of the walks under way
};
