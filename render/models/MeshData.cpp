#include "render/models/MeshData.h"

#include "render/shaders/ShaderEffect.h"

void MeshData::TakeRecords(MeshFile& file, const WideString& suffix, MaterialRules rules)
{
    materials_ = LoadMeshMaterials(device_, file.materials, suffix, rules);
    parts_.resize(file.parts.size());
    for (size_t i = 0; i < parts_.size(); ++i) {
        const PartRecord& record = file.parts[i];
        MeshPart& part = parts_[i];
        part.bounds = record.bounds;
        part.batches.resize(record.batches.size());
        for (size_t b = 0; b < record.batches.size(); ++b) {
            const BatchRecord& source = record.batches[b];
            DrawBatch& batch = part.batches[b];
            batch.geometryIndex = source.geometry;
            batch.effect = source.material >= 0 ? materials_[source.material].effect.get() : nullptr;
            batch.indices = source.indices;
            batch.vertices = source.vertices;
        }
    }
    nodes_ = std::move(file.nodes);
    tapes_ = std::move(file.tapes);
}
