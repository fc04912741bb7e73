#pragma once
// A detachable part of a car's chassis model. A part named DAMAGE_DOOR...
// is a door on a vertical hinge; any other DAMAGE_... part (bonnet, boot)
// hinges about the car's side axis. The car's jolts swing the part, every
// hard stop at a hinge limit wears its strength, and once that is spent it
// comes off and falls on its own, still drawn with the car's model. A door
// carries a box, so that the world it scrapes along pushes it open.

#include "engine/core/MessageReceiver.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"
#include "engine/physics/BoxGeom.h"
#include "engine/physics/PhysicsMessages.h"
#include "game/vehicles/dcCar.h"

#include <cstdint>
#include <memory>

class Model;

class dcCar::DamageObject : public MessageReceiver {
    DC_RECEIVER(dcCar::DamageObject, MessageReceiver)
public:
    enum class Kind { None, Door, Other };

    static constexpr float kDoorStrength = 2.0f;
    static constexpr float kOtherStrength = 0.5f;
    static constexpr float kFall = 98.1f;   // units per second squared, a loose part's own
    static constexpr int32_t kBoxCategory = 0x10;
    static constexpr int32_t kBoxCollide = 1;

    // By the node's name, upper-cased.
    static Kind KindOf(const WideString& nodeName);

    // For the node partIndex of the model; a door's box enters the physics
    // world given, none leaves it without one.
    DamageObject(dcCar& car, Model& model, int32_t partIndex, Kind kind, PhysicsWorld* physics);
    ~DamageObject() override;

    // deceleration: the car-space change of the car's velocity of the step, per second.
    void Step(const Vec3& deceleration, float dt);
    // Where the part is drawn: attached, through the car's render matrix.
    void Place(const Matrix44& renderMatrix);
    bool IsLoose() const { return strength <= 0.0f; }

    dcCar* car;
    int32_t partIndex;
    Vec3 worldPosition;
    Quaternion worldOrientation;
    Vec3 velocity;
    Matrix44 restMatrix;   // the part's own rotation in the model
    Vec3 hingeAxis;
    float angle = 0.0f;
    float angularSpeed = 0.0f;
    float minAngle = 0.0f;
    float maxAngle = 0.0f;
    float restAngle = 0.0f;
    bool isDoor;
    float strength;

protected:
    void OnContact(const dcContact& message);

private:
    void Swing(const Vec3& deceleration, float dt);
    void HoldAtLowerLimit();
    void HoldAtUpperLimit();
    void MakeBox(PhysicsWorld& physics);

    Model& model_;
    Vec3 modelPosition_;   // the part's place in the model, its hinge
    std::unique_ptr<BoxGeom> box_;
};
// handlers: dcContact -> OnContact
