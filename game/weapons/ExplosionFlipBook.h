#pragma once
// The animated sprite texture of an explosion: a list of frame textures
// played once at 20 frames per second. The flip-books of the explosion kinds
// own their frames; each explosion plays a clone that shares them and keeps
// only its own time and frame.

#include "engine/video/TextureResource.h"
#include "render/device/AnimatedTexture.h"

#include <cstdint>
#include <memory>
#include <vector>

struct SpriteAnchor {
    float x;
    float y;
};

class ExplosionFlipBook : public AnimatedTexture {
public:
    static constexpr float kFramesPerSecond = 20.0f;
    // The sprite's offset from its particle, in units of the sprite size.
    static constexpr SpriteAnchor kAnchor{0.078125f, -0.1796875f};

    // Owns the frames (a frame may be none where no device draws).
    explicit ExplosionFlipBook(std::vector<std::unique_ptr<TextureResource>> frames);
    ~ExplosionFlipBook() override;

    // The same frames and anchor, from the start.
    std::unique_ptr<ExplosionFlipBook> Clone() const;
    // Moves on by the step: the frame of the time played; the last frame
    // stays up for one frame time more, after which the book has finished.
    void Advance(float seconds) override;

    int32_t GetFrameCount() const { return static_cast<int32_t>(frames_.size()); }
    int32_t GetCurrentFrame() const { return currentFrame_; }
    bool IsFinished() const { return finished_; }
    const SpriteAnchor& GetAnchor() const { return anchor_; }
    void SetAnchor(const SpriteAnchor& anchor) { anchor_ = anchor; }

private:
    using FrameSet = std::vector<std::unique_ptr<TextureResource>>;
    explicit ExplosionFlipBook(std::shared_ptr<const FrameSet> owned);

    std::shared_ptr<const FrameSet> owned_;
    bool finished_ = false;
    SpriteAnchor anchor_ = kAnchor;
};
