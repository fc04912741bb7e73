#include "game/world/dcDecoObject.h"

#include "engine/core/dcEngine.h"
#include "engine/math/Matrix44.h"
#include "engine/video/VideoDevice.h"
#include "game/world/DecoRouteNetwork.h"
#include "render/models/Camera.h"

#include <algorithm>

namespace {

constexpr float kPi = 3.14159265f;

// The turn whose forward axis points along the direction, with the world's up.
Quaternion Facing(Vec3 direction)
{
    direction.Normalize();
    Matrix44 frame;
    frame.FromForward(direction);
    return Quaternion::FromMatrix(frame);
}

const DecoRouteNode* RouteNode(const std::vector<int32_t>& route, size_t at)
{
    std::vector<DecoRouteNode>& nodes = CurrentDecoRouteNetwork()->Nodes();
    return &nodes[static_cast<size_t>(route[at])];
}

} // namespace

dcDecoObject::dcDecoObject()
{
    Handles<dcGameReset, &dcDecoObject::OnGameReset>();
    Handles<dcSceneAdd, &dcDecoObject::OnSceneAdd>();
    Handles<dcSceneDel, &dcDecoObject::OnSceneDel>();
    Handles<dcUpdate, &dcDecoObject::OnUpdate>();
    Handles<dcVisTest, &dcDecoObject::OnVisTest>();
    Handles<dcRender, &dcDecoObject::OnRender>();
}

WideString dcDecoObject::ModelName(int32_t letterIndex)
{
    return L"Models\\" + WideString(1, static_cast<wchar_t>(L'A' + letterIndex)) + L".DCM";
}

bool dcDecoObject::HasUsableRoute(int32_t nodeCount) const
{
    const int32_t last = std::min(kLastRouteIndex, nodeCount - 1);
    return static_cast<int32_t>(route_.size()) >= kShortestRoute &&
           std::all_of(route_.begin(), route_.end(), [last](int32_t index) { return index >= 0 && index <= last; });
}

// The loader adds only objects whose route names nodes of the network.
void dcDecoObject::OnGameReset(const dcGameReset&)
{
    speed_ = 0.0f;
    position_ = RouteNode(route_, 0)->position;
    target_ = RouteNode(route_, 1);
    orientation_ = Facing(target_->position - position_);
}

void dcDecoObject::OnSceneAdd(const dcSceneAdd&)
{
    Send(dcGameReset{dcGameReset::kEndOfGame});
}

void dcDecoObject::OnUpdate(const dcUpdate& message)
{
    const float dt = message.step;
    orientation_ = Quaternion::Slerp(orientation_, Facing(target_->position - position_), std::clamp(kTurnRate * dt, 0.0f, 1.0f));
    position_ = position_ + Quaternion::ToTransform(orientation_).GetRow(2) * (speed_ * dt);

    const Vec3& half = ModelBox().halfExtents;
    const float arrival = std::max(Vec3::Dot(half, half), 2.0f * speed_);
    const Vec3 left = target_->position - position_;
    if (Vec3::Dot(left, left) < arrival) {
        target_ = target_->PickRandomNeighbour();
        if (!target_) {
            Send(dcGameReset{dcGameReset::kEndOfGame});
            return;
        }
    }
    speed_ += std::clamp(kSpeedRate * dt, 0.0f, 1.0f) * (target_->speed - speed_);
}

Matrix44 dcDecoObject::RenderTransform() const
{
    Matrix44 transform = Quaternion::ToTransform(orientation_);
    transform.SetRow(3, position_);
    transform.PreRotateAxis({0.0f, 1.0f, 0.0f}, kPi);
    return transform;
}

BoundingBox dcDecoObject::ModelBox() const
{
    return model_ ? BoundingBox{model_->GetBoundsCentre(), model_->GetBoundsHalfExtents()} : BoundingBox{};
}

// Beyond a quarter of the camera's reach it is never drawn.
void dcDecoObject::OnVisTest(const dcVisTest& message)
{
    const Camera& camera = *message.camera;
    const Vec3 away = position_ - camera.GetPosition();
    const float reach = camera.GetFarPlane() / 4.0f;
    if (Vec3::Dot(away, away) > reach * reach) {
        return;
    }
    message.visible = camera.GetFrustum().IsBoxVisible(BoundingBox::Transform(ModelBox(), RenderTransform())) ? 1 : 0;
}

void dcDecoObject::OnRender(const dcRender& message)
{
    VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    if (!model_ || !video) {
        return;
    }
    const Matrix44 transform = RenderTransform();
    video->SetMeasuredObject(message.camera, BoundingBox::Transform(ModelBox(), transform));
    model_->Render(transform, message.pass, 0);
    video->SetMeasuredObject(nullptr, BoundingBox{});
}
