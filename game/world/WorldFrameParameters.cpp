#include "game/world/WorldFrameParameters.h"

#include "game/world/ShadowMap.h"
#include "render/models/Camera.h"
#include "render/shaders/ShaderVariable.h"
#include "render/shaders/ShaderVariableBlock.h"

#include <algorithm>

namespace {

Color Scaled(const float rgba[4], float scale)
{
    return {rgba[0] * scale, rgba[1] * scale, rgba[2] * scale, rgba[3] * scale};
}

// The unit z axis turned by the conjugate of the orientation.
Vec3 LightDirection(const Quaternion& orientation)
{
    return Vec3::TransformDirection({0.0f, 0.0f, 1.0f}, Quaternion::ToTransform(Quaternion::Conjugate(orientation)));
}

// Texture space from clip space: x to 0..1, y to 1..0, centred on the texels.
Matrix44 ShadowTextureBias()
{
    Matrix44 bias;
    bias.m[0][0] = 0.5f;
    bias.m[1][1] = -0.5f;
    bias.m[2][2] = 0.0f;
    bias.m[3][0] = WorldFrameParameters::kShadowBiasOffset;
    bias.m[3][1] = WorldFrameParameters::kShadowBiasOffset;
    bias.m[3][2] = 1.0f;
    bias.m[3][3] = 1.0f;
    return bias;
}

int32_t AddValue(ShaderVariableBlock& block, const wchar_t* name)
{
    return block.AddVariable(name, kShaderValue, false);
}

int32_t AddData(ShaderVariableBlock& block, const wchar_t* name)
{
    return block.AddVariable(name, kShaderData, false);
}

} // namespace

WorldFrameParameters::WorldFrameParameters(ShaderVariableBlock& world, ShaderVariableBlock& staticLighting)
    : world_(world)
    , staticLighting_(staticLighting)
    , staticLights_(RegisterLights(staticLighting))
    , dynamicLights_(RegisterLights(world))
    , half_(AddData(world, L"Half"))
    , timerVariable_(AddValue(world, L"Timer"))
    , camPos_(AddData(world, L"CamPos"))
    , shadowMatrix_(world.AddVariable(L"ShadowMatrix", kShaderMatrix, false))
    , shadowAdjustment_(world.AddVariable(L"ShadowAdjustment", kShaderMatrix, false))
    , rangeScale_(AddValue(world, L"RangeScale"))
    , shadowMapVariable_(world.AddVariable(L"ShadowMap", kShaderTexture, false))
    , fogNear_(AddValue(world, L"FogNear"))
    , fogFar_(AddValue(world, L"FogFar"))
    , invFogRange_(AddValue(world, L"InvFogRange"))
    , fogRange_(AddValue(world, L"FogRange"))
    , fogColour_(AddData(world, L"FogColor"))
    , minX_(AddValue(world, L"MinX"))
    , minZ_(AddValue(world, L"MinZ"))
    , invExtentsX_(AddValue(world, L"InvExtentsX"))
    , invExtentsZ_(AddValue(world, L"InvExtentsZ"))
{
}

WorldFrameParameters::LightVariables WorldFrameParameters::RegisterLights(ShaderVariableBlock& block)
{
    LightVariables variables{};
    variables.direction = {AddData(block, L"LightDir"), AddData(block, L"LightDir[0]"), AddData(block, L"LightDir[1]"),
                           AddData(block, L"LightDir[2]")};
    variables.ambient = AddData(block, L"LightAmbient");
    variables.diffuse = {AddData(block, L"LightDiffuse"), AddData(block, L"LightDiffuse[0]"),
                         AddData(block, L"LightDiffuse[1]"), AddData(block, L"LightDiffuse[2]")};
    variables.specular = {AddData(block, L"LightSpecular"), AddData(block, L"LightSpecular[1]"),
                          AddData(block, L"LightSpecular[2]")};
    return variables;
}

void WorldFrameParameters::BindLights(ShaderVariableBlock& block, LightVariables& variables,
                                      const SkyLightSet& lights)
{
    variables.ambientSum = {0.0f, 0.0f, 0.0f, 1.0f};
    for (int32_t i = 0; i < kSkyLightsPerSet; ++i) {
        const SkyLight& light = lights[static_cast<size_t>(i)];
        const float scale = std::min(light.intensity, 1.0f);
        variables.directions[i] = LightDirection(light.orientation);
        const Color ambient = Scaled(light.ambient, scale);
        variables.ambientSum = {variables.ambientSum.r + ambient.r, variables.ambientSum.g + ambient.g,
                                variables.ambientSum.b + ambient.b, variables.ambientSum.a + ambient.a};
        variables.diffuseColours[i] = Scaled(light.diffuse, scale);
        variables.specularColours[i] = Scaled(light.specular, scale);
    }
    // The plain names are light 0's.
    constexpr uint32_t kVec3Bytes = sizeof(Vec3);
    constexpr uint32_t kColourBytes = sizeof(Color);
    block.SetValue(variables.direction[0], &variables.directions[0], kVec3Bytes);
    block.SetValue(variables.diffuse[0], &variables.diffuseColours[0], kColourBytes);
    block.SetValue(variables.specular[0], &variables.specularColours[0], kColourBytes);
    for (int32_t i = 0; i < kSkyLightsPerSet; ++i) {
        block.SetValue(variables.direction[i + 1], &variables.directions[i], kVec3Bytes);
        block.SetValue(variables.diffuse[i + 1], &variables.diffuseColours[i], kColourBytes);
    }
    block.SetValue(variables.specular[1], &variables.specularColours[1], kColourBytes);
    block.SetValue(variables.specular[2], &variables.specularColours[2], kColourBytes);
    block.SetValue(variables.ambient, &variables.ambientSum, kColourBytes);
}

void WorldFrameParameters::BindFog(const Camera& camera, const FrameLighting& lighting)
{
    const float far = camera.GetFarPlane();
    const float fogNear = kFogNearFraction * far * kFogNearFraction * far;
    const float fogFar = far * far;
    world_.SetFloat(fogNear_, fogNear);
    world_.SetFloat(fogFar_, fogFar);
    world_.SetFloat(invFogRange_, 1.0f / (fogFar - fogNear));
    world_.SetFloat(fogRange_, 1.0f / (lighting.fog->range * far));
    fogColourValue_ = Scaled(lighting.fog->colour, lighting.fog->intensity);
    world_.SetValue(fogColour_, &fogColourValue_, sizeof(Color));
}

// The terrain shaders map x and z of the world box onto 0..-1.
void WorldFrameParameters::BindExtents(const BoundingBox& box)
{
    world_.SetFloat(minX_, box.centre.x - box.halfExtents.x);
    world_.SetFloat(minZ_, box.centre.z - box.halfExtents.z);
    world_.SetFloat(invExtentsX_, -1.0f / (2.0f * box.halfExtents.x));
    world_.SetFloat(invExtentsZ_, -1.0f / (2.0f * box.halfExtents.z));
}

void WorldFrameParameters::BindShadow(const FrameInputs& inputs)
{
    const Matrix44 viewProjection =
        inputs.shadow ? Matrix44::Multiply(inputs.shadow->view, inputs.shadow->projection) : Matrix44{};
    shadowMatrixValue_ = Matrix44::Transpose(viewProjection);
    shadowAdjustmentValue_ = Matrix44::Transpose(Matrix44::Multiply(viewProjection, ShadowTextureBias()));
    world_.SetMatrix(shadowMatrix_, &shadowMatrixValue_.m[0][0]);
    world_.SetMatrix(shadowAdjustment_, &shadowAdjustmentValue_.m[0][0]);
    world_.SetFloat(rangeScale_, kRangeScale);
    world_.SetTexture(shadowMapVariable_, inputs.shadowMap);
}

void WorldFrameParameters::Bind(const Camera& camera, const FrameInputs& inputs)
{
    BindFog(camera, inputs.lighting);
    BindExtents(inputs.worldBox);
    BindLights(staticLighting_, staticLights_, *inputs.lighting.staticLights);
    BindLights(world_, dynamicLights_, *inputs.lighting.dynamicLights);
    world_.SetValue(half_, &halfValue_, sizeof(Color));
    timer_ += inputs.frameTime;
    world_.SetFloat(timerVariable_, timer_);
    camPosValue_ = camera.GetPosition();
    world_.SetValue(camPos_, &camPosValue_, sizeof(Vec3));
    BindShadow(inputs);
}
