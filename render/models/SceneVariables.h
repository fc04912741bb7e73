#pragma once
// What a scene hands the models it draws: the camera's view and projection
// (transposed, as shader constants take them) and one directional light with
// an ambient part, under the names the mesh shaders read ("View", "Proj",
// "LightDir", "LightAmbient", "LightDiffuse"). Models take it as their parent.

#include "engine/math/Matrix44.h"
#include "render/shaders/ShaderVariableBlock.h"

class Camera;

class SceneVariables : public ShaderVariableBlock {
public:
    SceneVariables();

    // Takes the camera's current matrices; call after the camera's Update.
    void Aim(const Camera& camera);
    // towards: the direction the light comes from; colours as r, g, b, a.
    void SetLight(const float towards[4], const float ambient[4], const float diffuse[4]);

private:
    const int32_t viewId_;
    const int32_t projectionId_;
    const int32_t lightDirId_;
    const int32_t ambientId_;
    const int32_t diffuseId_;
    Matrix44 view_;
    Matrix44 projection_;
    float towardsLight_[4] = {0.3f, 0.5f, 0.8f, 0.0f};
    float ambient_[4] = {0.4f, 0.4f, 0.4f, 1.0f};
    float diffuse_[4] = {0.6f, 0.6f, 0.6f, 1.0f};
};
