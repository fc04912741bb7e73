#include "game/world/FallingLeaves.h"

#include "engine/files/RandomRange.h"

#include <algorithm>
#include <cstring>

namespace {

const wchar_t kLeafEffectWord[] = L"DCDYNAMIC_LEAF";
constexpr uint8_t kFloat2 = 1;
constexpr uint8_t kFloat3 = 2;
constexpr uint8_t kUsagePosition = 0;
constexpr uint8_t kUsageNormal = 3;
constexpr uint8_t kUsageTexCoord = 5;

} // namespace

bool IsLeafEffect(const WideString& effectName)
{
    const size_t slash = effectName.find_last_of(L'\\');
    WideString file = slash == WideString::npos ? effectName : effectName.substr(slash + 1);
    WideStringToUpper(file);
    return file.starts_with(kLeafEffectWord);
}

std::vector<VertexElement> LeafVertexElements()
{
    return {{0, 0, kFloat3, 0, kUsagePosition, 0},
            {0, 12, kFloat3, 0, kUsageNormal, 0},
            {0, 24, kFloat2, 0, kUsageTexCoord, 0},
            {0, 32, kFloat2, 0, kUsageTexCoord, 1}};
}

void CopyLeafVertices(const std::vector<uint32_t>& indices, const uint8_t* source, int32_t stride,
                      int32_t firstVertex, int32_t vertexCount, LeafVertex* leaves)
{
    const size_t copied = static_cast<size_t>(std::clamp(stride, 0, static_cast<int32_t>(sizeof(LeafVertex))));
    float randomU = 0.0f;
    float randomV = 0.0f;
    for (size_t k = 0; k < indices.size(); ++k) {
        if (k % 3 == 0) {
            randomU = RandomRange(0.0f, 1.0f);
            randomV = RandomRange(0.0f, 1.0f);
        }
        LeafVertex& leaf = leaves[k];
        leaf = LeafVertex{};
        const int64_t vertex = static_cast<int64_t>(indices[k]) - firstVertex;
        if (vertex >= 0 && vertex < vertexCount) {
            std::memcpy(&leaf, source + vertex * stride, copied);
        }
        leaf.randomU = randomU;
        leaf.randomV = randomV;
    }
}
