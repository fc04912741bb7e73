#include "render/models/MeshNode.h"

#include "render/models/ModelMath.h"

Matrix44 MeshNode::GetTransform() const
{
    return PoseMatrix(rotation, position);
}
