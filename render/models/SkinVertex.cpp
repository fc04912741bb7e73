#include "render/models/SkinVertex.h"

void SkinVertices(const SkinVertex* source, int32_t count, const Matrix44* matrices, int32_t matrixCount,
                  SkinnedOutputVertex* out)
{
    for (int32_t i = 0; i < count; ++i) {
        const SkinVertex& vertex = source[i];
        const Matrix44& m = matrices[vertex.bone < matrixCount ? vertex.bone : 0];
        out[i].position = Vec3::TransformPoint(vertex.position, m);
        out[i].normal = Vec3::TransformDirection(vertex.normal, m);
        out[i].u = vertex.u;
        out[i].v = vertex.v;
    }
}
