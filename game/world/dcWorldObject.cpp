#include "game/world/dcWorldObject.h"

#include "game/world/GameModule.h"
#include "game/world/MaterialDrawList.h"
#include "game/world/ObjectMesh.h"
#include "game/world/dcWorldRender.h"
#include "render/models/Camera.h"

namespace {

Matrix44 PoseMatrix(const Quaternion& turn, const Vec3& at)
{
    Matrix44 pose = Quaternion::ToTransform(turn);
    pose.m[3][0] = at.x;
    pose.m[3][1] = at.y;
    pose.m[3][2] = at.z;
    return pose;
}

} // namespace

dcWorldObject::dcWorldObject()
{
    Handles<dcOcclusionData, &dcWorldObject::OnOcclusionData>();
    Handles<dcVisTest, &dcWorldObject::OnVisTest>();
    Handles<dcOcclusionRender, &dcWorldObject::OnOcclusionRender>();
}

Matrix44 dcWorldObject::GetCurrentTransform() const
{
    return PoseMatrix(GetOrientation(), GetPosition());
}

void dcWorldObject::UpdatePlacement()
{
    transform = GetCurrentTransform();
    worldBox = mesh ? BoundingBox::Transform(mesh->box, transform) : BoundingBox{GetPosition(), {}};
}

void dcWorldObject::OnVisTest(const dcVisTest& message)
{
    if (hidden || leftBehind) {
        message.visible = 0;
        return;
    }
    QueueIfSeen(message, worldBox);
}

bool dcWorldObject::QueueIfSeen(const dcVisTest& message, const BoundingBox& box)
{
    if (!mesh || !message.camera->GetFrustum().IsBoxVisible(box)) {
        message.visible = 0;
        return false;
    }
    std::vector<MaterialDrawList>& lists = MaterialDrawLists();
    for (size_t i = 0; i < mesh->ranges.size(); ++i) {
        const int32_t material = mesh->ranges[i].material;
        if (material >= 0 && material < static_cast<int32_t>(lists.size())) {
            dcWorldRender::AddDrawItem(lists[static_cast<size_t>(material)], this, static_cast<int32_t>(i), 1.0f);
        }
    }
    message.visible = 1;
    message.wantsRender = 0;
    return true;
}

void dcWorldObject::OnOcclusionData(const dcOcclusionData& message)
{
    FillOcclusionData(message, kDistanceFactor);
}

void dcWorldObject::FillOcclusionData(const dcOcclusionData& message, float distanceFactor) const
{
    if (mesh) {
        message.boxCentre = mesh->box.centre;
        message.boxHalfExtents = mesh->box.halfExtents;
    }
    message.world = PoseMatrix(rotation, position);
    message.distanceFactor = distanceFactor;
}

void dcWorldObject::OnOcclusionRender(const dcOcclusionRender& message)
{
    GameModule* game = GameModule::Get();
    if (hidden || !mesh || !game) {
        return;
    }
    game->GetWorld().GetRender().DrawOcclusion(*this, message.pass, message.passBit);
}
