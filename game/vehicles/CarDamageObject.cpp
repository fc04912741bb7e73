#include "game/vehicles/CarDamageObject.h"

#include "engine/math/Scalar.h"
#include "render/models/MeshData.h"
#include "render/models/Model.h"

#include <algorithm>

namespace {

constexpr float kHalfPi = 1.57079633f;
constexpr float kSwingEase = 0.5f;        // of the way to the target speed, per second
constexpr float kDoorSwing = -0.2f;       // per unit of sideways deceleration
constexpr float kOtherSwing = 0.05f;      // per unit of forward deceleration
constexpr float kOtherFallBack = 2.0f;    // radians per second toward the rest angle
constexpr float kBounce = -0.6f;
constexpr float kWear = 0.01f;            // strength per squared radian per second at a stop

float Sign(float x)
{
    return x > 0.0f ? 1.0f : (x < 0.0f ? -1.0f : 0.0f);
}

} // namespace

dcCar::DamageObject::Kind dcCar::DamageObject::KindOf(const WideString& nodeName)
{
    WideString name = nodeName;
    WideStringToUpper(name);
    if (WideStringStartsWith(name, L"DAMAGE_DOOR")) {
        return Kind::Door;
    }
    return WideStringStartsWith(name, L"DAMAGE_") ? Kind::Other : Kind::None;
}

dcCar::DamageObject::DamageObject(dcCar& owner, Model& model, int32_t index, Kind kind, PhysicsWorld* physics)
    : car(&owner), partIndex(index), isDoor(kind == Kind::Door),
      strength(isDoor ? kDoorStrength : kOtherStrength), model_(model)
{
    Handles<dcContact, &DamageObject::OnContact>();
    const MeshNode& node = model.GetNodes()[static_cast<size_t>(index)];
    modelPosition_ = node.position;
    restMatrix = Quaternion::ToTransform(node.rotation);
    hingeAxis = isDoor ? Vec3{0.0f, 1.0f, 0.0f} : Vec3{1.0f, 0.0f, 0.0f};
    // A part opens away from the car: a door to its side, a bonnet or boot toward its end.
    const float limit = (isDoor ? Sign(node.position.x) : Sign(-node.position.z)) * kHalfPi;
    minAngle = std::min(0.0f, limit);
    maxAngle = std::max(0.0f, limit);
    if (isDoor && physics) {
        MakeBox(*physics);
    }
}

dcCar::DamageObject::~DamageObject() = default;

// The box has the part's own bounds and turns with the part about its hinge.
void dcCar::DamageObject::MakeBox(PhysicsWorld& physics)
{
    MeshData* mesh = model_.GetMesh();
    const int32_t meshPart = model_.GetNodes()[static_cast<size_t>(partIndex)].partIndex;
    if (!mesh || meshPart < 0 || meshPart >= static_cast<int32_t>(mesh->GetParts().size())) {
        return;   // a node without a drawn part has nothing to collide
    }
    const BoundingBox& bounds = mesh->GetParts()[static_cast<size_t>(meshPart)].bounds;
    box_ = std::make_unique<BoxGeom>(bounds.halfExtents);
    box_->SetOffset(bounds.centre);
    box_->SetCategoryBits(kBoxCategory);
    box_->SetCollideBits(kBoxCollide);
    box_->SetFlag(kGeomPassive, true);
    box_->SetFlag(kGeomSensing, true);
    box_->SetOwner(this);
    box_->AddToWorld(physics);
}

void dcCar::DamageObject::Step(const Vec3& deceleration, float dt)
{
    if (IsLoose()) {
        velocity.y -= kFall * dt;
        worldPosition = worldPosition + velocity * dt;
        return;
    }
    Swing(deceleration, dt);
    angle += angularSpeed * dt;
    if (angle < minAngle) {
        HoldAtLowerLimit();
    } else if (angle > maxAngle) {
        HoldAtUpperLimit();
    }
}

// A door swings with the car's sideways jolts; another part with its
// braking and pushing, and falls back toward rest on its own.
void dcCar::DamageObject::Swing(const Vec3& deceleration, float dt)
{
    const float target = isDoor ? deceleration.x * kDoorSwing
                                : deceleration.z * kOtherSwing - kOtherFallBack * Sign(angle - restAngle);
    angularSpeed = Lerp(angularSpeed, target, kSwingEase * dt);
}

void dcCar::DamageObject::HoldAtLowerLimit()
{
    angle = minAngle;
    if (isDoor) {
        strength -= angularSpeed * angularSpeed * kWear;
        angularSpeed = 0.0f;
    } else if (angularSpeed < 0.0f) {
        angularSpeed *= kBounce;   // resting against the car costs nothing
    }
}

void dcCar::DamageObject::HoldAtUpperLimit()
{
    angle = maxAngle;
    if (isDoor) {
        strength -= angularSpeed * angularSpeed * kWear;
        angularSpeed = 0.0f;
    } else if (angularSpeed > 0.0f) {
        angularSpeed *= kBounce;
        strength -= angularSpeed * angularSpeed * kWear;
    }
}

void dcCar::DamageObject::Place(const Matrix44& renderMatrix)
{
    MeshNode& node = model_.GetNodes()[static_cast<size_t>(partIndex)];
    if (IsLoose()) {
        node.attached = false;
        node.position = worldPosition;
        node.rotation = worldOrientation;
        return;
    }
    Matrix44 local = restMatrix;
    local.RotateAxis(hingeAxis, angle);
    const Quaternion localRotation = Quaternion::FromMatrix(local);
    node.attached = true;
    node.position = modelPosition_;
    node.rotation = localRotation;
    worldPosition = Vec3::TransformPoint(modelPosition_, renderMatrix);
    worldOrientation = Quaternion::Multiply(localRotation, Quaternion::FromMatrix(renderMatrix));
    velocity = car->GetVelocity();
    if (box_) {
        box_->SetPosition(worldPosition);
        box_->SetOrientation(worldOrientation);
    }
}

// The world pushes a door about its hinge, the way the contact faces along the car.
void dcCar::DamageObject::OnContact(const dcContact& message)
{
    Matrix44 rotation;
    Quaternion::ToMatrix(car->GetOrientation(), rotation);
    Matrix44 inverse;
    Matrix44::TransposeRotation(rotation, inverse);
    const float side = Sign(Vec3::TransformDirection(message.normal, inverse).z);
    angularSpeed += maxAngle == restAngle ? side * message.depth : -side * message.depth;
}
