#pragma once
// The probe that names a delivery point after the road around it: a sphere
// collided with the world's triangles, which keeps the road name of the
// last road piece it touches.

#include "engine/core/MessageReceiver.h"
#include "engine/physics/PhysicsMessages.h"
#include "engine/physics/SphereGeom.h"
#include "engine/physics/TriMeshGeom.h"

#include <vector>

class dcWorldObject;

class dcDropPointRay : public MessageReceiver {
    DC_RECEIVER(dcDropPointRay, MessageReceiver)
public:
    static constexpr float kReach = 100.0f;

    // The world's collision triangles, tagged with their static object, and
    // the static objects they name.
    dcDropPointRay(const std::vector<TriMeshTriangle>& triangles, const std::vector<dcWorldObject>& staticObjects);

    SphereGeom& GetSphere() { return sphere_; }
    WideString foundName;

protected:
    // handlers: dcTriangleContact -> OnTriangleContact
    virtual void OnTriangleContact(const dcTriangleContact& message);

private:
    SphereGeom sphere_;
    const std::vector<TriMeshTriangle>& triangles_;
    const std::vector<dcWorldObject>& staticObjects_;
};
