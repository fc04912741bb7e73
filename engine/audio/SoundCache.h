#pragma once
// Decoded sounds shared by every voice that plays them, keyed by file name.
// An entry lives until it is found without users; the device frees at most
// one such entry at a time. Guarded by the device lock.

#include "engine/audio/SoundBuffer.h"
#include "engine/files/WideString.h"

#include <memory>
#include <vector>

struct SoundCacheEntry {
    WideString fileName;
    std::unique_ptr<SoundBuffer> buffer;
    bool streamed;   // a streamed voice's own ring, shared with nobody
};

class SoundCache {
public:
    // The first whole sound of exactly that name, or null.
    SoundBuffer* Find(const WideString& fileName) const;
    SoundBuffer* Add(const WideString& fileName, std::unique_ptr<SoundBuffer> buffer, bool streamed);
    // Frees the first entry no channel uses, if there is one.
    void FreeFirstUnused();
    void Clear() { entries_.clear(); }

    const std::vector<SoundCacheEntry>& Entries() const { return entries_; }

private:
    std::vector<SoundCacheEntry> entries_;
};
