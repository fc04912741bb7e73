#include "game/weapons/dcLensFlare.h"

#include "engine/video/TextureResource.h"
#include "engine/video/VideoDevice.h"
#include "game/world/SkySettings.h"
#include "game/world/World.h"
#include "render/device/TextureLookup.h"
#include "render/models/Camera.h"
#include "render/models/Model.h"

// Last: they bring the Win32 headers, whose GetClassName macro must not
// rename the receivers declared above.
#include "engine/video/SpriteDrawer.h"
#include "render/device/OcclusionQuery.h"

#include <algorithm>
#include <cmath>

namespace {

const wchar_t* const kFlareTextures[kLensFlareElements] = {
    L"vlare0.DCT", L"vlare1.DCT", L"vlare2.DCT", L"vlare3.DCT", L"vlare4.DCT",
};

// Inside every plane of the view, or outside by less than the margin.
bool IsNearView(const Frustum& frustum, const Vec3& point, float margin)
{
    return std::all_of(std::begin(frustum.planes), std::end(frustum.planes), [&](const FrustumPlane& plane) {
        return Vec3::Dot(plane.normal, point) - plane.distance > -margin;
    });
}

bool IsInViewport(const ViewportRect& viewport, Vec2 point)
{
    return viewport.left <= point.x && point.x < viewport.right && viewport.top <= point.y &&
           point.y < viewport.bottom;
}

} // namespace

// The flare's question to the hardware: after each answer it waits a few
// frames before the next one may be asked.
class FlareQuery : public OcclusionQuery {
public:
    explicit FlareQuery(dcLensFlare& flare) : flare_(flare) {}

    void OnResult(bool occluded) override
    {
        SetCountdown(dcLensFlare::kAnswerWait);
        flare_.OnQueryResult(occluded);
    }

private:
    dcLensFlare& flare_;
};

dcLensFlare::dcLensFlare(VideoDevice* device, SpriteDrawer* sprites, const World& world, Model* unitBox)
    : device_(device)
    , sprites_(sprites)
    , world_(world)
    , unitBox_(unitBox)
    , query_(std::make_unique<FlareQuery>(*this))
{
    Handles<dcUpdate, &dcLensFlare::OnUpdate>();
    Handles<dcRender, &dcLensFlare::OnRender>();
    if (!device_) {
        return;
    }
    for (int32_t element = 0; element < kLensFlareElements; ++element) {
        textures_[static_cast<size_t>(element)] = GetTexture(*device_, kFlareTextures[element]);
    }
    device_->AcquireQuery(*query_);
}

dcLensFlare::~dcLensFlare()
{
    if (device_) {
        device_->ReleaseQuery(*query_);
    }
}

bool dcLensFlare::IsQueryPending() const
{
    return query_->IsPending();
}

void dcLensFlare::OnUpdate(const dcUpdate& message)
{
    fade_ += occluded_ ? -kFadeOutRate * message.step : kFadeInRate * message.step;
    fade_ = std::clamp(fade_, 0.0f, 1.0f);
}

void dcLensFlare::OnRender(const dcRender& message)
{
    Vec3 sun;
    if (message.pass != kFlarePass || !message.camera || !query_->HasQuery() || !FindSun(*message.camera, sun)) {
        return;
    }
    if (!IsNearView(message.camera->GetFrustum(), sun, kViewMargin)) {
        return;
    }
    if (!query_->IsPending() && query_->GetCountdown() == 0) {
        AskWhetherHidden(sun);
    }
    if (fade_ > 0.0f) {
        DrawSprites(*message.camera, sun);
    }
}

// A sky without a flare has no sun: its direction is left at nothing, which
// would put the sun on the camera itself.
bool dcLensFlare::FindSun(const Camera& camera, Vec3& sun) const
{
    const SkySettings* sky = world_.GetSky();
    if (!sky || !sky->IsFlareOn() || sky->GetSunDirection().Length() == 0.0f) {
        return false;
    }
    sun = camera.GetPosition() + sky->GetSunDirection() * kSunDistance;
    return true;
}

void dcLensFlare::AskWhetherHidden(const Vec3& sun)
{
    Matrix44 transform;
    transform.Scale({kProbeBoxSize, kProbeBoxSize, kProbeBoxSize});
    transform.Translate(sun);
    query_->Begin();
    if (unitBox_) {
        unitBox_->Render(transform, kProbePass, 0);
    }
    query_->End();
}

void dcLensFlare::DrawSprites(const Camera& camera, const Vec3& sun)
{
    if (!sprites_) {
        return;
    }
    const float intensity = fade_ * kBrightness;
    const Color colour{1.0f, 1.0f, 1.0f, std::sqrt(intensity)};
    const Vec2 sunPoint = camera.ProjectToScreen(sun);
    const std::array<Vec2, kLensFlareElements> positions =
        LensFlarePositions(sunPoint, device_->GetBackBufferWidth(), device_->GetBackBufferHeight());
    // Only the sun's own sprite while the sun stands beside the picture.
    const int32_t drawn = IsInViewport(device_->GetViewport(), sunPoint) ? kLensFlareElements : 1;
    for (int32_t element = 0; element < drawn; ++element) {
        TextureResource* texture = textures_[static_cast<size_t>(element)].get();
        if (!texture) {
            continue;
        }
        sprites_->DrawImageAligned(texture, WholeImage(*texture), kAlignMiddle | kAlignCenter,
                                   positions[static_cast<size_t>(element)], kAnchorNone, colour, AddSpriteShader);
    }
}
