#include "script/dcTriggerTarget.h"

#include "engine/core/dcEngine.h"
#include "engine/math/Color.h"
#include "engine/math/Matrix44.h"
#include "engine/video/VideoDevice.h"
#include "script/DumpReader.h"
#include "script/DumpWriter.h"

namespace {

constexpr float kMarkerLength = 10.0f;   // world units of the drawn marker's lines

Matrix44 RotationMatrix(const Quaternion& rotation)
{
    Matrix44 matrix = kIdentityMatrix;
    Quaternion::ToMatrix(rotation, matrix);
    return matrix;
}

// The point of a frame's local space in the frame's parent space.
Vec3 PlaceInFrame(const Vec3& point, const Vec3& framePosition, const Quaternion& frameRotation)
{
    return framePosition + Vec3::TransformDirection(point, RotationMatrix(frameRotation));
}

} // namespace

dcTriggerTarget::dcTriggerTarget()
{
    Handles<dcTriggerMessage, &dcTriggerTarget::OnTrigger>();
    Handles<dcGetTriggerTarget, &dcTriggerTarget::OnGetTriggerTarget>();
    Handles<dcTriggerOrientation, &dcTriggerTarget::OnTriggerOrientation>();
    Handles<dcTriggerRender, &dcTriggerTarget::OnTriggerRender>();
    Handles<dcOrientation, &dcTriggerTarget::OnOrientation>();
    Handles<dcTargetMessage, &dcTriggerTarget::OnTargetMessage>();
}

void dcTriggerTarget::Save(DumpWriter& out)
{
    out.WriteVec3(Position);
    out.WriteQuaternion(Orientation);
    out.WriteObjectRef(SubjectId);
    dcTrigger::Save(out);
}

void dcTriggerTarget::Load(DumpReader& in)
{
    Position = in.ReadVec3();
    if (in.GetRevision() >= kOrientationRevision) {
        Orientation = in.ReadQuaternion();
    }
    SubjectId = 0;
    in.ReadObjectRef(SubjectId);
    dcTrigger::Load(in);
}

template <class Msg>
bool dcTriggerTarget::AskSubject(const Msg& query)
{
    Scene* scene = GetScene();
    MessageReceiver* subject = scene ? scene->FindReceiver(SubjectId) : nullptr;
    if (!subject || askingSubject_) {
        return false;
    }
    askingSubject_ = true;
    const bool answered = subject->Send(query) != 0;
    askingSubject_ = false;
    return answered;
}

void dcTriggerTarget::OnGetTriggerTarget(const dcGetTriggerTarget& message)
{
    message.ids->push_back(GetId());
}

void dcTriggerTarget::OnTriggerOrientation(const dcTriggerOrientation& message)
{
    message.position = Position;
    message.orientation = Orientation;
}

// The subject's frame is the parent: its rotation applies after the node's own.
void dcTriggerTarget::OnOrientation(const dcOrientation& message)
{
    message.position = Position;
    message.orientation = Orientation;
    const dcOrientation subjectPose{};
    if (!AskSubject(subjectPose)) {
        return;
    }
    message.position = PlaceInFrame(Position, subjectPose.position, subjectPose.orientation);
    message.orientation = Quaternion::Multiply(subjectPose.orientation, Orientation);
}

// Answered as a way point: nothing to hit, not destroyable.
void dcTriggerTarget::OnTargetMessage(const dcTargetMessage& message)
{
    if (AskSubject(message)) {
        message.position = PlaceInFrame(Position, message.position, message.rotation);
    } else {
        message.position = Position;
    }
    message.geometry = nullptr;
    message.health = 1.0f;
    message.maxHealth = 0.0f;
}

void dcTriggerTarget::OnTriggerRender(const dcTriggerRender& message)
{
    VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    if (!video) {
        return;
    }
    Vec3 where = Position;
    const dcTriggerOrientation subjectPose{};
    if (AskSubject(subjectPose)) {
        where = PlaceInFrame(Position, subjectPose.position, subjectPose.orientation);
    }
    video->DrawLine(where, where + Vec3{0.0f, kMarkerLength, 0.0f}, kOpaqueWhite);
    video->DrawLine(where, where + RotationMatrix(Orientation).GetRow(2) * kMarkerLength, kOpaqueWhite);
}
