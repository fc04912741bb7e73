#pragma once
// The level's shader values of one frame: fog, world extents for the
// terrain shaders, the three static and three dynamic lights, the shadow
// map and its matrices, the camera position and a running timer. The
// static lights go to the static-lighting block (whose parent is the World
// block), everything else to the World block, which also serves as the
// dynamic-lighting block. Variables are looked up by name once.

#include "engine/math/BoundingBox.h"
#include "engine/math/Color.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"
#include "game/world/SkyLighting.h"

#include <array>
#include <cstdint>

class Camera;
class ShaderVariableBlock;
class TextureResource;
struct ShadowCamera;

// What the sky gives the frame.
struct FrameLighting {
    const SkyLightSet* staticLights;
    const SkyLightSet* dynamicLights;
    const SkyFog* fog;
};

// What the World passes for one frame besides the camera.
struct FrameInputs {
    FrameLighting lighting;
    BoundingBox worldBox;
    const ShadowCamera* shadow;        // none: identity shadow matrices
    TextureResource* shadowMap;        // may be none
    float frameTime;                   // seconds, added to the timer first
};

class WorldFrameParameters {
public:
    // Half a texel of a 2048-texel map past the centre.
    static constexpr float kShadowBiasOffset = 0.500244140625f;
    static constexpr float kFogNearFraction = 0.75f;
    static constexpr float kRangeScale = 0.001f;

    WorldFrameParameters(ShaderVariableBlock& world, ShaderVariableBlock& staticLighting);

    void Bind(const Camera& camera, const FrameInputs& inputs);
    float GetTimer() const { return timer_; }

private:
    // The twelve light variables of one block, and the values they point at.
    struct LightVariables {
        std::array<int32_t, 4> direction;   // "LightDir", "LightDir[0]" .. "[2]"
        int32_t ambient;
        std::array<int32_t, 4> diffuse;     // "LightDiffuse", "LightDiffuse[0]" .. "[2]"
        std::array<int32_t, 3> specular;    // "LightSpecular", "LightSpecular[1]", "[2]"
        std::array<Vec3, kSkyLightsPerSet> directions;
        Color ambientSum;
        std::array<Color, kSkyLightsPerSet> diffuseColours;
        std::array<Color, kSkyLightsPerSet> specularColours;
    };

    static LightVariables RegisterLights(ShaderVariableBlock& block);
    static void BindLights(ShaderVariableBlock& block, LightVariables& variables,
                           const SkyLightSet& lights);
    void BindFog(const Camera& camera, const FrameLighting& lighting);
    void BindExtents(const BoundingBox& box);
    void BindShadow(const FrameInputs& inputs);

    ShaderVariableBlock& world_;
    ShaderVariableBlock& staticLighting_;
    LightVariables staticLights_;
    LightVariables dynamicLights_;
    int32_t half_, timerVariable_, camPos_, shadowMatrix_, shadowAdjustment_, rangeScale_, shadowMapVariable_;
    int32_t fogNear_, fogFar_, invFogRange_, fogRange_, fogColour_;
    int32_t minX_, minZ_, invExtentsX_, invExtentsZ_;
    float timer_ = 0.0f;
    Color halfValue_{-0.5f, -0.5f, -0.5f, -0.5f};
    Vec3 camPosValue_;
    Matrix44 shadowMatrixValue_;
    Matrix44 shadowAdjustmentValue_;
    Color fogColourValue_{};
};
