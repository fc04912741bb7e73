#pragma once
// The receiver of a lamp's probe ray: of the ground the ray meets below a
// light, it keeps the most level surface, so the light's pool on the ground
// lies flat on it.

#include "engine/core/MessageReceiver.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Vec3.h"
#include "engine/physics/PhysicsMessages.h"

class dcLightCallback : public MessageReceiver {
    DC_RECEIVER(dcLightCallback, MessageReceiver)
public:
    // How far the kept point stands off the surface, along its normal.
    static constexpr float kLift = 1.6f;

    dcLightCallback();

    bool HasContact() const { return keptGeometry_ != nullptr; }
    // Forgets the kept contact, for the next probe.
    void Reset() { keptGeometry_ = nullptr; }
    const Vec3& GetPoint() const { return keptPoint_; }
    const Vec3& GetNormal() const { return keptNormal_; }
    // The pool's turn: its y axis along the kept normal.
    void PlacementMatrix(Matrix44& out) const;

protected:
    // handlers: dcContact -> OnContact
    virtual void OnContact(const dcContact& message);

private:
    PhysicsGeom* keptGeometry_ = nullptr;
    Vec3 keptPoint_;
    Vec3 keptNormal_;
};
