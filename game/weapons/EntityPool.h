#pragma once
// The free list of a pooled class of short-lived game entities (fires,
// explosions, debris, casings): a spawn takes the object freed last, or a
// new one when none is free. Pooled objects are never destroyed while the
// program runs, so a spawn after warm-up allocates nothing.

#include "engine/core/MessageReceiver.h"
#include "engine/core/Scene.h"

#include <cstdint>
#include <vector>

template <class T>
class EntityPool {
public:
    T* Take()
    {
        if (free_.empty()) {
            return new T;
        }
        T* object = free_.back();
        free_.pop_back();
        return object;
    }

    // The object leaves its scene and waits for the next spawn; one that is
    // in no scene has been released already and stays where it is, so a
    // second release never lists it twice.
    bool Release(T& object)
    {
        Scene* scene = object.GetScene();
        if (!scene || !scene->Remove(&object)) {
            return false;
        }
        free_.push_back(&object);
        return true;
    }

    // A released object that was never in a scene (its spawn stopped early).
    void Return(T& object) { free_.push_back(&object); }

    int32_t FreeCount() const { return static_cast<int32_t>(free_.size()); }

private:
    std::vector<T*> free_;
};
