#pragma once
// The sun's lens flare: while the current sky's sun is in view and not
// hidden behind anything, five sprites are laid over the picture along the
// line from the sun through the screen's centre. Whether the sun is hidden
// is asked of the hardware with a small box drawn at the sun inside an
// occlusion query; the sprites fade in and out as the answers change. The
// game module makes the one flare while the world loads.

#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/math/Vec3.h"
#include "game/weapons/LensFlareLayout.h"

#include <array>
#include <cstdint>
#include <memory>

class Camera;
class FlareQuery;
class Model;
class SpriteDrawer;
class TextureResource;
class VideoDevice;
class World;

class dcLensFlare : public MessageReceiver {
    DC_RECEIVER(dcLensFlare, MessageReceiver)
public:
    static constexpr int32_t kFlarePass = 28;
    static constexpr int32_t kProbePass = 1;         // the pass the box is drawn with
    static constexpr float kSunDistance = 10000.0f;  // from the camera
    static constexpr float kViewMargin = 10.0f;      // how far outside the view the sun may stand
    // The box asked about. At the sun's distance a box of 10 units is a third
    // of a pixel at 800 x 600 and seldom covers a pixel's centre: the sun
    // would count as hidden nearly always. 100 units span some five pixels.
    static constexpr float kProbeBoxSize = 100.0f;
    static constexpr int32_t kAnswerWait = 10;       // frames after an answer before the next question
    static constexpr float kFadeInRate = 10.0f;      // per second
    static constexpr float kFadeOutRate = 5.0f;
    static constexpr float kBrightness = 0.2f;       // at full fade

    // Without a device it never asks and never draws. The sun comes from the
    // world's current sky; the box drawn in the query is the game module's
    // unit box (none: an empty question, answered as hidden).
    dcLensFlare(VideoDevice* device, SpriteDrawer* sprites, const World& world, Model* unitBox);
    ~dcLensFlare() override;

    // The hardware's answer, handed over by the device's polling.
    void OnQueryResult(bool occluded) { occluded_ = occluded; }
    float GetFade() const { return fade_; }
    bool IsOccluded() const { return occluded_; }
    // Between a question and its answer.
    bool IsQueryPending() const;

protected:
    void OnUpdate(const dcUpdate& message);
    void OnRender(const dcRender& message);

private:
    // The sun's point this frame, or false when the sky has no sun.
    bool FindSun(const Camera& camera, Vec3& sun) const;
    void AskWhetherHidden(const Vec3& sun);
    void DrawSprites(const Camera& camera, const Vec3& sun);

    VideoDevice* device_;
    SpriteDrawer* sprites_;
    const World& world_;
    Model* unitBox_;
    std::unique_ptr<FlareQuery> query_;
    std::array<std::unique_ptr<TextureResource>, kLensFlareElements> textures_;
    float fade_ = 0.0f;
    // Until the first answer the sun counts as hidden: no flare flashes up
    // over a sun that turns out to stand behind a wall.
    bool occluded_ = true;
};
// handlers: dcUpdate -> OnUpdate, dcRender -> OnRender
