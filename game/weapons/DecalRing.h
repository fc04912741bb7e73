#pragma once
// The decals that stay in the world until newer ones push them out: bullet
// holes and blood splats. A decal is known by its serial number, which its
// holder keeps and hands back each frame to have it drawn. The ring's
// storage is made once; adding a decal only reuses the oldest slot.
//
// The ring also gathers the frame's submitted quads, ring decals and
// directly submitted ones alike, for the decal renderer: at most
// kFrameQuadCapacity a frame; what comes after is dropped for that frame.

#include "game/weapons/Decal.h"

#include <cstdint>
#include <vector>

class DecalRing {
public:
    static constexpr int32_t kFrameQuadCapacity = 16384;

    // count copies of the default decal.
    DecalRing(const Decal& defaultDecal, int32_t count);

    int32_t Capacity() const { return static_cast<int32_t>(slots_.size()); }
    // The serial the next added decal gets.
    int32_t NextSerial() const { return counter_; }
    // Takes the oldest slot for a decal of the batch. Its other fields keep
    // the previous decal's values until the caller writes the new ones.
    Decal& Add(DecalBatch* batch);
    // The slot of a live serial; nullptr once newer decals have taken it.
    Decal* Find(int32_t serial);
    // Queues a live serial's decal for this frame; false once the decal has
    // been overwritten, and its holder forgets the serial then.
    bool Submit(int32_t serial);
    // Ends every decal handed out so far (a new world, a game reset).
    void Clear();

    // Queues a copy of the decal in its batch for this frame; false when it
    // was dropped: it has no batch, or the frame is full.
    bool SubmitQuad(const Decal& decal);
    const std::vector<DecalQuad>& GetFrameQuads() const { return frameQuads_; }
    // The frame's quads are drawn: the list starts empty again.
    void ClearFrame() { frameQuads_.clear(); }

private:
    bool IsLive(int32_t serial) const;

    std::vector<Decal> slots_;
    int32_t counter_ = 0;
    std::vector<DecalQuad> frameQuads_;
};

// The game's one ring of 4096 decals.
DecalRing& TheDecalRing();
