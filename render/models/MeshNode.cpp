#include "render/models/MeshNode.h"

Matrix44 MeshNode::GetTransform() const
{
    Matrix44 m;
    Quaternion::ToMatrix(rotation, m);
    m.SetRow(3, position);
    return m;
}
