#include "render/models/Bone.h"

void Bone::ComputeBindPose()
{
    Vec3 forward = tail - head;
    forward.Normalize();
    bindFrame = Matrix44{};
    bindFrame.FromForward(forward);
    bindRotation = Quaternion::FromMatrix(bindFrame);
    const Vec3& half = bodyBox.halfExtents;
    const bool hasBody = half.x != 0.0f || half.y != 0.0f || half.z != 0.0f;
    bindCentre = hasBody ? Vec3::TransformPoint(bodyBox.centre, bindFrame) : (head + tail) * 0.5f;
}
