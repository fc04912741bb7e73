#include "render/models/Camera.h"

#include "engine/math/Scalar.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kDegree = kPi / 180.0f;
constexpr float kMinFov = 1.0f * kDegree;
constexpr float kMaxFov = 150.0f * kDegree;
constexpr float kDefaultFov = 75.0f * kDegree;
constexpr float kDefaultNear = 1.0f;
constexpr float kDefaultFar = 8192.0f;
// The level-of-detail distances as fractions of the far distance, finest first.
constexpr float kLodFractions[Camera::kLodLevels] = {0.375f, 1.0f / 3.0f, 0.25f, 1.0f / 6.0f, 0.125f};
// Where the running minimum and maximum of a screen rectangle start.
constexpr float kScreenRectStart = 1e8f;

} // namespace

Camera::Camera() : scale_{0.0f, 0.0f, 0.0f}
{
    Reset();
}

void Camera::Reset()
{
    near_ = kDefaultNear;
    SetFarPlane(kDefaultFar);
    SetFov(kDefaultFov);
    frustum_.position = kZeroVector;
    orientation_ = Quaternion{};
    scale_ = {1.0f, 1.0f, 1.0f};
    SetOrthographic(false);
}

void Camera::SetFov(float angle)
{
    fov_ = Clamp(angle, kMinFov, kMaxFov);
}

void Camera::SetFarPlane(float distance)
{
    far_ = distance;
    for (int32_t level = 0; level < kLodLevels; ++level) {
        lodDistances_[level] = distance * kLodFractions[level];
    }
}

void Camera::SetViewport(const ScreenRect& rect)
{
    viewport_ = rect;
    aspect_ = static_cast<float>(rect.right - rect.left) / static_cast<float>(rect.bottom - rect.top);
}

void Camera::SetOrthographic(bool on)
{
    flags_ = on ? (flags_ | kOrthographic) : (flags_ & ~kOrthographic);
}

void Camera::SetOrthoSize(float width, float height)
{
    orthoWidth_ = width;
    orthoHeight_ = height;
}

Matrix44 Camera::BuildViewMatrix(const Vec3& position, const Quaternion& orientation, const Vec3& scale)
{
    Matrix44 scaling;
    scaling.m[0][0] = scale.x;
    scaling.m[1][1] = scale.y;
    scaling.m[2][2] = scale.z;
    Matrix44 translation;
    translation.SetRow(3, -position);
    Matrix44 rotation;
    Quaternion::ToMatrix(orientation, rotation);
    Matrix44 view = Matrix44::Multiply(Matrix44::Multiply(scaling, translation), rotation);
    view.RotateAxis(kWorldUp, kPi);
    return view;
}

void Camera::BuildProjection()
{
    projection_ = Matrix44{};
    if (IsOrthographic()) {
        // The orthographic volume starts at the camera itself.
        projection_.m[0][0] = 2.0f / orthoWidth_;
        projection_.m[1][1] = 2.0f / orthoHeight_;
        projection_.m[2][2] = 1.0f / far_;
        return;
    }
    const float ys = std::cos(fov_ * 0.5f) / std::sin(fov_ * 0.5f);
    const float depth = far_ / (far_ - near_);
    projection_.m[0][0] = ys / aspect_;
    projection_.m[1][1] = ys;
    projection_.m[2][2] = depth;
    projection_.m[2][3] = 1.0f;
    projection_.m[3][2] = -near_ * depth;
    projection_.m[3][3] = 0.0f;
}

void Camera::ComputeFrustumCorners(Vec3 corners[kCornerCount]) const
{
    // The columns of the view's rotation: the camera's axes in world space.
    const Matrix44 axes = Matrix44::Transpose(view_);
    const Vec3 right = axes.GetRow(0) * (aspect_ * fov_ * 0.5f * near_);
    const Vec3 up = axes.GetRow(1) * (fov_ * 0.5f * near_);
    const Vec3 forward = axes.GetRow(2) * near_;
    const Vec3 nearCorners[4] = {forward - right - up, forward - right + up, forward + right + up,
                                 forward + right - up};
    const float farScale = far_ / near_;
    for (int32_t i = 0; i < 4; ++i) {
        corners[i + 4] = nearCorners[i] * farScale + frustum_.position;
        corners[i] = nearCorners[i] + frustum_.position;
    }
}

void Camera::Update()
{
    view_ = BuildViewMatrix(frustum_.position, orientation_, scale_);
    BuildProjection();
    frustum_.FromViewProjection(view_, projection_);
    ComputeFrustumCorners(corners_);
}

Vec2 Camera::ProjectToScreen(const Vec3& point) const
{
    const Matrix44 viewProjection = Matrix44::Multiply(view_, projection_);
    float clip[4];
    for (int32_t c = 0; c < 4; ++c) {
        clip[c] = point.x * viewProjection.m[0][c] + point.y * viewProjection.m[1][c] +
                  point.z * viewProjection.m[2][c] + viewProjection.m[3][c];
    }
    const float width = static_cast<float>(viewport_.right - viewport_.left);
    const float height = static_cast<float>(viewport_.bottom - viewport_.top);
    return {(1.0f + clip[0] / clip[3]) * width * 0.5f, (1.0f - clip[1] / clip[3]) * height * 0.5f};
}

Rect Camera::ScreenRectOfBox(const BoundingBox& box) const
{
    Vec2 low{kScreenRectStart, kScreenRectStart};
    Vec2 high{-kScreenRectStart, -kScreenRectStart};
    const Vec3& half = box.halfExtents;
    for (int32_t corner = 0; corner < 8; ++corner) {
        const Vec3 sign{corner & 1 ? 1.0f : -1.0f, corner & 2 ? 1.0f : -1.0f, corner & 4 ? 1.0f : -1.0f};
        const Vec2 p = ProjectToScreen(box.centre + Vec3{sign.x * half.x, sign.y * half.y, sign.z * half.z});
        low = {std::min(low.x, p.x), std::min(low.y, p.y)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y)};
    }
    return Rect(low, high);
}
