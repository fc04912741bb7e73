#include "engine/audio/SoundCache.h"

#include <algorithm>

SoundBuffer* SoundCache::Find(const WideString& fileName) const
{
    auto found = std::find_if(entries_.begin(), entries_.end(), [&](const SoundCacheEntry& entry) {
        return !entry.streamed && entry.fileName == fileName;
    });
    return found == entries_.end() ? nullptr : found->buffer.get();
}

SoundBuffer* SoundCache::Add(const WideString& fileName, std::unique_ptr<SoundBuffer> buffer, bool streamed)
{
    entries_.push_back({fileName, std::move(buffer), streamed});
    return entries_.back().buffer.get();
}

void SoundCache::FreeFirstUnused()
{
    auto unused = std::find_if(entries_.begin(), entries_.end(),
                               [](const SoundCacheEntry& entry) { return entry.buffer->Users() <= 0; });
    if (unused != entries_.end()) {
        unused->buffer->Free();
        entries_.erase(unused);
    }
}
