// The visibility cache: the grid and each block's list of entities by their
// scene ids. Version 2 also stores the id base of its time, so that ids read
// into a scene whose world objects were numbered from elsewhere are moved
// along with them; version 1 is read as it stands.

#include "game/world/VisibilityManager.h"

#include "engine/core/LogHub.h"
#include "engine/core/MessageReceiver.h"
#include "engine/core/Scene.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/ReplacingFileWrite.h"
#include "engine/files/Stream.h"
#include "engine/files/WriteStream.h"
#include "game/world/OcclusionMessages.h"
#include "render/models/ModelFileReading.h"

#include <limits>
#include <memory>
#include <unordered_set>

namespace {

constexpr int32_t kSmallestCache = 10;
constexpr int32_t kVersionWithoutIdBase = 1;
constexpr int32_t kVersion = 2;
// A block holds at least its box and its entity count.
constexpr int32_t kBlockBytes = 6 * 4 + 4;
constexpr int32_t kIdBytes = 4;

BoundingBox ReadBox(Stream& file)
{
    BoundingBox box;
    box.centre = ReadVec3(file);
    box.halfExtents = ReadVec3(file);
    return box;
}

void WriteVec3(WriteStream& file, const Vec3& v)
{
    file.WriteFloat(v.x);
    file.WriteFloat(v.y);
    file.WriteFloat(v.z);
}

void WriteBox(WriteStream& file, const BoundingBox& box)
{
    WriteVec3(file, box.centre);
    WriteVec3(file, box.halfExtents);
}

// The world object now known by the stored id moved by delta; none when
// the sum is 0 or names nothing that takes part in visibility (a stale
// cache must not make a car or a spark a world object).
MessageReceiver* ResolveEntity(const Scene* scene, int32_t storedId, int64_t delta)
{
    const int64_t id = static_cast<int64_t>(storedId) + delta;
    if (!scene || id == 0 || id < std::numeric_limits<int32_t>::min() || id > std::numeric_limits<int32_t>::max()) {
        return nullptr;
    }
    MessageReceiver* entity = scene->FindReceiver(static_cast<int32_t>(id));
    if (!entity || !entity->HandlesMessage(dcOcclusionData::Identity().Id())) {
        return nullptr;
    }
    return entity;
}

} // namespace

bool VisibilityManager::Load(const WideString& name)
{
    const std::unique_ptr<Stream> file = OpenFile(name);
    if (file->GetSize() < 0) {
        return false;
    }
    if (file->GetSize() < kSmallestCache || !ReadDc2Magic(*file)) {
        LogHub::PrintError("%s is not a visibility cache; it is ignored", name.c_str());
        return false;
    }
    const int32_t version = file->ReadInt32();
    if (version != kVersion && version != kVersionWithoutIdBase) {
        LogHub::PrintError("%s is obsolete", name.c_str());
        return false;
    }
    const int32_t splitCount = file->ReadInt32();
    const BoundingBox worldBox = ReadBox(*file);
    const int64_t delta = version == kVersion ? static_cast<int64_t>(idBase_) - file->ReadInt32() : 0;
    std::vector<VisibilityBlock> blocks(static_cast<size_t>(file->ReadCount(kBlockBytes)));
    for (VisibilityBlock& block : blocks) {
        block.box = ReadBox(*file);
        block.entities.resize(static_cast<size_t>(file->ReadCount(kIdBytes)));
        for (MessageReceiver*& entity : block.entities) {
            entity = ResolveEntity(GetScene(), file->ReadInt32(), delta);
        }
    }
    // A count the file could not hold has been reported with the file's name.
    if (file->HasErrors()) {
        return false;
    }
    return TakeCache(name, splitCount, worldBox, std::move(blocks));
}

bool VisibilityManager::Save(const WideString& name, bool widen)
{
    if (widen) {
        Widen();
    }
    return WriteFileReplacing(name, [this](WriteStream& file) {
        file.Write("DC2", 3);
        file.WriteInt32(kVersion);
        file.WriteInt32(splitCount_);
        WriteBox(file, worldBox_);
        file.WriteInt32(idBase_);
        file.WriteInt32(static_cast<int32_t>(blocks_.size()));
        for (const VisibilityBlock& block : blocks_) {
            WriteBox(file, block.box);
            // An entity that left the scene has no id to keep.
            const auto listed = static_cast<int32_t>(
                block.entities.size() - std::count(block.entities.begin(), block.entities.end(), nullptr));
            file.WriteInt32(listed);
            for (const MessageReceiver* entity : block.entities) {
                if (entity) {
                    file.WriteInt32(entity->GetId());
                }
            }
        }
    });
}

// Each inner block also lists what its eight neighbours list, as they were
// before any of them was widened. Border blocks stay as they are.
void VisibilityManager::Widen()
{
    std::vector<std::vector<MessageReceiver*>> before;
    before.reserve(blocks_.size());
    for (const VisibilityBlock& block : blocks_) {
        before.push_back(block.entities);
    }
    for (int32_t i = 1; i < blocksX_ - 1; ++i) {
        for (int32_t j = 1; j < blocksZ_ - 1; ++j) {
            std::vector<MessageReceiver*>& entities = blocks_[static_cast<size_t>(i) * blocksZ_ + j].entities;
            std::unordered_set<MessageReceiver*> listed(entities.begin(), entities.end());
            for (int32_t di = -1; di <= 1; ++di) {
                for (int32_t dj = -1; dj <= 1; ++dj) {
                    if (di == 0 && dj == 0) {
                        continue;
                    }
                    for (MessageReceiver* entity : before[static_cast<size_t>(i + di) * blocksZ_ + (j + dj)]) {
                        if (entity && listed.insert(entity).second) {
                            entities.push_back(entity);
                        }
                    }
                }
            }
        }
    }
}
