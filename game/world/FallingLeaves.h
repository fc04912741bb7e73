#pragma once
// Leaf clusters whose leaves fall once the prop is first touched. Each
// triangle of a leaf range gets vertices of its own, carrying two random
// numbers shared by its three corners, so the leaf shader can send every
// leaf its own way with nothing but the fall time.

#include "engine/files/WideString.h"
#include "engine/math/Vec3.h"
#include "engine/video/VertexElement.h"

#include <cstdint>
#include <vector>

struct LeafVertex {
    Vec3 position;
    Vec3 normal;
    float u = 0.0f;
    float v = 0.0f;
    float randomU = 0.0f;   // the same for the three corners of a leaf
    float randomV = 0.0f;
};
static_assert(sizeof(LeafVertex) == 40, "the leaf shader's vertex");

// Whether the effect file ("...\dcDynamic_Leaf.DCS") draws falling leaves.
bool IsLeafEffect(const WideString& effectName);
// Position, normal, texture coordinates 0 and 1, all in stream 0.
std::vector<VertexElement> LeafVertexElements();
// Leaf vertex k takes the source vertex that index k names, counted from
// firstVertex, whole up to the leaf vertex's own size (position, normal and
// first texture coordinate lead every world vertex); an index outside the
// source's vertexCount vertices leaves its leaf vertex empty. Every third
// vertex draws the next random pair.
void CopyLeafVertices(const std::vector<uint32_t>& indices, const uint8_t* source, int32_t stride,
                      int32_t firstVertex, int32_t vertexCount, LeafVertex* leaves);
