#pragma once
// The engine's viewpoint: position, orientation, lens and viewport, and what
// Update builds from them (view and projection matrices, frustum planes and
// the corners of the view volume). Setters only store; nothing changes until
// the next Update, or the separate builders a derived camera calls. Matrices
// are Direct3D's: row vectors, left-handed.

#include "engine/math/BoundingBox.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Rect.h"
#include "engine/math/Vec2.h"
#include "engine/math/Vec3.h"
#include "render/models/Frustum.h"

#include <cstdint>

// A screen rectangle in pixels.
struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

class Camera {
public:
    static constexpr int32_t kLodLevels = 5;
    static constexpr int32_t kCornerCount = 8;
    enum Flags : uint8_t { kOrthographic = 1 };

    Camera();
    virtual ~Camera() = default;

    // Radians, kept within 1 to 150 degrees.
    virtual void SetFov(float angle);
    // Rebuilds the view, the projection, the frustum planes and the corners, in that order.
    virtual void Update();

    // Near 1, far 8192, 75 degrees, at the origin unturned and unscaled,
    // perspective. The matrices keep their values until the next Update.
    void Reset();
    void SetNearPlane(float distance) { near_ = distance; }
    // Also sets the level-of-detail distances, fractions of the far distance.
    void SetFarPlane(float distance);
    // The aspect ratio follows the rectangle.
    void SetViewport(const ScreenRect& rect);

    void SetPosition(const Vec3& position) { frustum_.position = position; }
    void SetOrientation(const Quaternion& orientation) { orientation_ = orientation; }
    void SetScale(const Vec3& scale) { scale_ = scale; }
    void SetOrthographic(bool on);
    // The size of the orthographic view volume in world units.
    void SetOrthoSize(float width, float height);

    // A pure function of its arguments, for derived cameras that build their
    // own view: scale, then the move to the position, then the orientation as
    // given (not inverted), then half a turn about the up axis.
    static Matrix44 BuildViewMatrix(const Vec3& position, const Quaternion& orientation, const Vec3& scale);
    void BuildProjection();
    // Near corners 0 to 3, far corners 4 to 7, in world space. The half
    // extents use the angle itself, not its tangent, so they lie inside the
    // true volume.
    void ComputeFrustumCorners(Vec3 corners[kCornerCount]) const;

    // Measured from (0, 0), not from the viewport's corner; depth is dropped.
    Vec2 ProjectToScreen(const Vec3& point) const;
    // The rectangle around the eight projected corners; corners behind the
    // camera get no special treatment.
    Rect ScreenRectOfBox(const BoundingBox& box) const;

    const Vec3& GetPosition() const { return frustum_.position; }
    const Quaternion& GetOrientation() const { return orientation_; }
    const Vec3& GetScale() const { return scale_; }
    float GetFov() const { return fov_; }
    float GetAspect() const { return aspect_; }
    float GetNearPlane() const { return near_; }
    float GetFarPlane() const { return far_; }
    float GetLodDistance(int32_t level) const { return lodDistances_[level]; }
    const ScreenRect& GetViewport() const { return viewport_; }
    bool IsOrthographic() const { return (flags_ & kOrthographic) != 0; }
    const Matrix44& GetProjection() const { return projection_; }
    const Matrix44& GetView() const { return view_; }
    const Vec3& GetCorner(int32_t index) const { return corners_[index]; }
    Frustum& GetFrustum() { return frustum_; }
    const Frustum& GetFrustum() const { return frustum_; }

protected:
    Frustum frustum_;
    Quaternion orientation_;
    Vec3 scale_;
    float fov_ = 0.0f;
    float aspect_ = 1.0f;   // until the first SetViewport
    float near_ = 0.0f;
    float far_ = 0.0f;
    float lodDistances_[kLodLevels] = {};
    ScreenRect viewport_;
    Matrix44 projection_;
    Matrix44 view_;
    Vec3 corners_[kCornerCount];
    uint8_t flags_ = 0;
    float orthoWidth_ = 1.0f;
    float orthoHeight_ = 1.0f;
};
