#include "render/models/SceneVariables.h"

#include "render/models/Camera.h"
#include "render/shaders/ShaderVariable.h"

#include <algorithm>

SceneVariables::SceneVariables()
    : viewId_(AddVariable(L"View", kShaderMatrix, false))
    , projectionId_(AddVariable(L"Proj", kShaderMatrix, false))
    , lightDirId_(AddVariable(L"LightDir", kShaderData, false))
    , ambientId_(AddVariable(L"LightAmbient", kShaderData, false))
    , diffuseId_(AddVariable(L"LightDiffuse", kShaderData, false))
{
    SetMatrix(viewId_, &view_.m[0][0]);
    SetMatrix(projectionId_, &projection_.m[0][0]);
    SetLight(towardsLight_, ambient_, diffuse_);
}

void SceneVariables::Aim(const Camera& camera)
{
    view_ = Matrix44::Transpose(camera.GetView());
    projection_ = Matrix44::Transpose(camera.GetProjection());
    SetMatrix(viewId_, &view_.m[0][0]);
    SetMatrix(projectionId_, &projection_.m[0][0]);
}

void SceneVariables::SetLight(const float towards[4], const float ambient[4], const float diffuse[4])
{
    std::copy(towards, towards + 4, towardsLight_);
    std::copy(ambient, ambient + 4, ambient_);
    std::copy(diffuse, diffuse + 4, diffuse_);
    SetValue(lightDirId_, towardsLight_, sizeof towardsLight_);
    SetValue(ambientId_, ambient_, sizeof ambient_);
    SetValue(diffuseId_, diffuse_, sizeof diffuse_);
}
