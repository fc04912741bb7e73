#pragma once
// A prop with a collision box that reacts when something hits it: it stays
// put, is knocked loose and tumbles, drops its leaves, or kills what touches
// it, by its behaviour. Lamps and hit sounds hang on its extension chain.
//
// A loose prop comes to rest, is hidden once the camera has left it far
// behind, and is put back at its placed pose when the camera is far from
// that place too, so the city repairs itself out of sight.

#include "engine/physics/BoxGeom.h"
#include "engine/physics/PhysicsMessages.h"
#include "engine/physics/RigidBody.h"
#include "game/world/dcWorldObject.h"

#include <cstdint>
#include <memory>

class Camera;
class WorldObjectExtension;

enum DynamicBehaviour : int32_t {
    kBehaviourStill = 0,        // no reaction: a fixed prop with a box
    kBehaviourLoose = 1,        // knocked loose; knocks loose what it touches while moving
    kBehaviourLooseAlone = 2,   // knocked loose; moving, it ignores the other props
    kBehaviourLeaves = 3,       // its leaves start falling at the first touch
    kBehaviourDeadly = 4,       // kills whatever touches it
};

class dcDynamicObject : public dcWorldObject {
    DC_RECEIVER(dcDynamicObject, dcWorldObject)
public:
    static constexpr float kDistanceFactor = 0.33f;
    // Other geometries whose categories knock a prop loose: car chassis
    // 0x200, bullets 0x80, explosions 0x40, other props' boxes 0x08.
    static constexpr int32_t kKnockingCategories = 0x200 | 0x80 | 0x40 | 0x08;
    static constexpr int32_t kCascadeLimit = 3;   // nested knock-loose tests
    static constexpr float kLooseMass = 100.0f;
    static constexpr float kLeastInertiaHalfExtent = 5.0f;
    static constexpr float kRestSpeedSquared = 250.0f;   // slower than this counts as resting
    static constexpr float kRestSeconds = 0.75f;
    static constexpr float kReachFactor = 1.25f;   // of the camera's distance for the mesh's size
    // A lamp's lit patch widens the box the camera must see.
    static constexpr float kLitReachSideways = 225.0f;
    static constexpr float kLitReachDown = 100.0f;

    // The second option of the settings: 0 hides the detail-only props even
    // where the renderer could draw them.
    static inline int32_t DetailOption = 1;

    dcDynamicObject();
    ~dcDynamicObject() override;

    // The extension becomes part of the chain: after the extensions that
    // pass on, before the one shared extension that ends it.
    void AddExtension(WorldObjectExtension* extension);
    WorldObjectExtension* GetExtensions() const { return extensions; }

    // The pose follows the body while the prop is loose.
    Vec3 GetPosition() const override;
    Quaternion GetOrientation() const override;
    void SetPosition(const Vec3& at) override;
    void SetOrientation(const Quaternion& turn) override;
    float GetFallTime() const override { return fallTime; }

    // The collision box at the mesh box's centre, in the placed pose.
    void PlaceBox();
    // One fixed step while loose or falling; false once the prop is back at
    // its place and leaves the active list.
    bool UpdateActive(float dt, const Camera& camera);
    // Back at the placed pose, without body, untouched.
    void Reset();

    BoxGeom box{{0.5f, 0.5f, 0.5f}};
    std::unique_ptr<RigidBody> body;   // while loose; taken from the pool
    int32_t behaviour = kBehaviourStill;
    WorldObjectExtension* extensions = nullptr;
    float restTime = 0.0f;
    bool lit = false;                 // a lamp of it lights the ground
    bool detailOnly = false;          // drawn on the high-detail path only
    float fallTime = 0.0f;            // seconds since the leaves began to fall
    bool visible = false;             // the last visibility test's answer

protected:
    // handlers: dcGameReset -> OnGameReset, dcOcclusionData -> OnOcclusionData,
    // dcVisTest -> OnVisTest, dcOcclusionRender -> OnOcclusionRender,
    // dcCollisionCull -> OnCollisionCull, dcCollision -> OnCollision,
    // dcContact -> OnContact
    virtual void OnGameReset(const dcGameReset& message);
    void OnOcclusionData(const dcOcclusionData& message) override;
    void OnVisTest(const dcVisTest& message) override;
    void OnOcclusionRender(const dcOcclusionRender& message) override;
    virtual void OnCollisionCull(const dcCollisionCull& message);
    virtual void OnCollision(const dcCollision& message);
    virtual void OnContact(const dcContact& message);

private:
    // Whether detail-only props are drawn: the renderer's high-detail path
    // and the settings both allow it.
    static bool DetailShown();
    bool TestVisible(const dcVisTest& message);
    void KnockLoose();
    void StartFalling();
    void Settle(float dt);
    // How far from the camera the prop may be before it is left behind.
    float Reach(const Camera& camera) const;
};
