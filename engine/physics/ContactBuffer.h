#pragma once
// The one buffer of ODE contact records for the whole process, made once and
// used as a stack: a collision handler may test another pair while the pair
// that called it still reads its points, so each collision takes the slots
// above those of the collisions under way and gives them back when done.

#include <ode/contact.h>

#include <cstdint>

class ContactBufferScope {
public:
    static constexpr int32_t kCapacity = 4096;

    // Up to wanted slots, fewer when the collisions under way hold the rest
    // (none when the buffer is full).
    explicit ContactBufferScope(int32_t wanted);
    ~ContactBufferScope();
    ContactBufferScope(const ContactBufferScope&) = delete;
    ContactBufferScope& operator=(const ContactBufferScope&) = delete;

    dContact* Points() const { return points_; }
    int32_t Size() const { return size_; }

private:
    dContact* points_;
    int32_t size_;
};
