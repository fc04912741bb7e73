#pragma once
// The static city in the physics world: the collision triangles of the whole
// level, and a kill plane below it. Whatever falls through the world or off
// its edge and reaches the plane is destroyed with Kill damage. The World
// makes one and keeps it for its whole life; loading fills the mesh.

#include "engine/core/MessageReceiver.h"
#include "engine/physics/PhysicsMessages.h"
#include "engine/physics/PlaneGeom.h"
#include "engine/physics/TriMeshGeom.h"

#include <cstdint>
#include <vector>

class Camera;
class DecalRing;
class PhysicsWorld;

class dcWorldGeometry : public TriMeshGeom, public MessageReceiver {
    DC_RECEIVER(dcWorldGeometry, MessageReceiver)
public:
    static constexpr float kKillPlaneHeight = -360.0f;
    static constexpr int32_t kMeshCategory = 0x1;
    static constexpr int32_t kKillPlaneCategory = 0x10;
    // Player cars 0x200, on-foot characters 0x400, pedestrians 0x1000, traffic cars 0x10000.
    static constexpr int32_t kKillPlaneCollides = 0x11600;

    dcWorldGeometry();
    ~dcWorldGeometry() override;

    PlaneGeom& GetKillPlane() { return killPlane_; }
    // Both geometries into the world's space; out of it again.
    void AddToPhysics(PhysicsWorld& world);
    void RemoveFromPhysics(PhysicsWorld& world);

    // Serials, in the ring the cull is given, of the decals laid on the city.
    std::vector<int32_t>& Decals() { return decals_; }
    // Queues the decals near enough and inside the camera's view (with 10
    // units to spare) for this frame; forgets those the ring has overwritten.
    void CullDecals(const Camera& camera, DecalRing& ring);

protected:
    // handlers: dcCollision -> OnCollision
    virtual void OnCollision(const dcCollision& message);

private:
    bool MaySee(const Camera& camera, const Vec3& position) const;

    std::vector<int32_t> decals_;
    PlaneGeom killPlane_;
};
