#include "game/weapons/ExplosionFlipBook.h"

#include <algorithm>

ExplosionFlipBook::ExplosionFlipBook(std::vector<std::unique_ptr<TextureResource>> frames)
    : ExplosionFlipBook(std::make_shared<const FrameSet>(std::move(frames)))
{
}

ExplosionFlipBook::ExplosionFlipBook(std::shared_ptr<const FrameSet> owned) : owned_(std::move(owned))
{
    framesPerSecond_ = kFramesPerSecond;
    for (const std::unique_ptr<TextureResource>& frame : *owned_) {
        frames_.push_back(frame.get());
    }
}

ExplosionFlipBook::~ExplosionFlipBook() = default;

std::unique_ptr<ExplosionFlipBook> ExplosionFlipBook::Clone() const
{
    std::unique_ptr<ExplosionFlipBook> clone(new ExplosionFlipBook(owned_));
    clone->anchor_ = anchor_;
    return clone;
}

void ExplosionFlipBook::Advance(float seconds)
{
    const int32_t count = GetFrameCount();
    time_ += seconds;
    currentFrame_ = static_cast<int32_t>(time_ * framesPerSecond_);
    if (currentFrame_ < count) {
        return;
    }
    // A book without frames has nothing to show and is done at once.
    finished_ = finished_ || currentFrame_ > count || count == 0;
    currentFrame_ = std::max(count - 1, 0);
}
