#include "script/DumpReader.h"

#include "engine/core/LogHub.h"
#include "engine/core/MessageReceiver.h"
#include "engine/core/Scene.h"
#include "engine/files/ArchiveList.h"
#include "script/DumpFormat.h"
#include "script/ScriptFactory.h"
#include "script/TriggerMessages.h"

#include <algorithm>
#include <climits>
#include <cstring>

void DumpReader::AddFactory(ScriptFactory* factory)
{
    factories_.emplace(factory->GetClassID(), factory);
}

bool DumpReader::ReadDump(const WideString& path, std::vector<int32_t>& rootIds, bool fullLoad)
{
    fullLoad_ = fullLoad;
    failed_ = false;
    nesting_ = 0;
    objects_.clear();
    madeIds_.clear();
    in_ = OpenFile(path);
    if (!ReadHeader(path)) {
        in_.reset();
        return false;
    }
    std::vector<int32_t> read(ReadCount(dump_format::kReferenceBytes), 0);
    for (int32_t& root : read) {
        ReadObjectRef(root);
    }
    in_.reset();
    if (failed_) {
        DiscardMadeObjects();
        rootIds.clear();
        return false;
    }
    rootIds = std::move(read);
    return true;
}

// Files that are no dump at all are passed over in silence: callers look for
// missions by name and treat a missing one as empty.
bool DumpReader::ReadHeader(const WideString& path)
{
    char magic[sizeof dump_format::kMagic] = {};
    if (in_->GetSize() < 0 || in_->Read(magic, sizeof magic) != static_cast<int32_t>(sizeof magic) ||
        std::memcmp(magic, dump_format::kMagic, sizeof magic) != 0) {
        return false;
    }
    if (in_->GetSize() < dump_format::kHeaderBytes) {
        Fail();
        return false;
    }
    ReadInt32();   // reserved
    const int32_t kind = ReadInt32();
    revision_ = ReadInt32();
    if (kind != dump_format::kDumpKind) {
        LogHub::Printf("%s is not a serialisation dump", path.c_str());
        return false;
    }
    return true;
}

int32_t DumpReader::ReadObjectRef(int32_t& slot)
{
    const int32_t index = ReadInt32();
    if (failed_) {
        return 0;
    }
    if (auto known = objects_.find(index); known != objects_.end()) {
        slot = known->second;
        return slot;
    }
    const int32_t classId = ReadInt32();
    if (failed_) {
        return 0;
    }
    if (classId == 0) {
        slot = 0;
        return 0;
    }
    if (nesting_ >= dump_format::kMaxNesting) {
        LogHub::PrintError("%s: mission links nest deeper than %d nodes", in_->GetName().c_str(),
                           dump_format::kMaxNesting);
        Fail();
        return 0;
    }
    const int32_t id = scene_ ? scene_->NewId() : 0;
    MessageReceiver* object = MakeObject(classId, id);
    if (!object) {
        Fail();
        return 0;
    }
    // Known before the settings are read, so references back to it resolve.
    objects_.emplace(index, id);
    slot = id;
    ++nesting_;
    object->Send(dcSerializeLoad{this});
    --nesting_;
    // A failed dump's objects leave again without ever having joined.
    if (!failed_) {
        scene_->SendSceneAdd(object);
    }
    return id;
}

// Made and in the scene under the id; null when it could not be.
MessageReceiver* DumpReader::MakeObject(int32_t classId, int32_t id)
{
    auto factory = factories_.find(classId);
    if (factory == factories_.end()) {
        LogHub::PrintError("Unknown ClassID while reading %s", in_->GetName().c_str());
        return nullptr;
    }
    if (!scene_) {
        return nullptr;
    }
    MessageReceiver* object = factory->second->Create();
    if (!object) {
        return nullptr;
    }
    if (!scene_->Insert(object, id)) {
        delete object;
        return nullptr;
    }
    madeIds_.push_back(id);
    return object;
}

void DumpReader::ReadString(WideString& text)
{
    const int32_t count = ReadInt32();
    if (count >= 0) {
        if (count > (in_ ? in_->Remaining() : 0)) {
            Fail();
        }
        std::string bytes(failed_ ? 0 : count, '\0');
        ReadExactly(bytes.data(), static_cast<int32_t>(bytes.size()));
        // Each byte is the character of that code, U+0000 to U+00FF.
        text.resize(bytes.size());
        std::transform(bytes.begin(), bytes.end(), text.begin(),
                       [](char byte) { return static_cast<wchar_t>(static_cast<uint8_t>(byte)); });
        return;
    }
    if (count == INT_MIN || -count > (in_ ? in_->Remaining() : 0) / 2) {
        Fail();
    }
    text.assign(failed_ ? 0 : -count, L'\0');
    ReadExactly(text.data(), static_cast<int32_t>(text.size() * 2));
}

uint8_t DumpReader::ReadByte()
{
    uint8_t value = 0;
    ReadExactly(&value, sizeof value);
    return value;
}

int32_t DumpReader::ReadInt32()
{
    int32_t value = 0;
    ReadExactly(&value, sizeof value);
    return value;
}

float DumpReader::ReadFloat()
{
    float value = 0.0f;
    ReadExactly(&value, sizeof value);
    return value;
}

Vec3 DumpReader::ReadVec3()
{
    Vec3 value;
    value.x = ReadFloat();
    value.y = ReadFloat();
    value.z = ReadFloat();
    return value;
}

Quaternion DumpReader::ReadQuaternion()
{
    Quaternion value;
    value.x = ReadFloat();
    value.y = ReadFloat();
    value.z = ReadFloat();
    value.w = ReadFloat();
    return value;
}

int32_t DumpReader::ReadCount(int32_t recordBytes)
{
    const int32_t count = ReadInt32();
    if (failed_) {
        return 0;
    }
    if (count < 0 || count > in_->Remaining() / recordBytes) {
        Fail();
        return 0;
    }
    return count;
}

// After a failure nothing more is read: every value reads as 0.
bool DumpReader::ReadExactly(void* buffer, int32_t count)
{
    if (!failed_ && in_ && in_->Read(buffer, count) == count) {
        return true;
    }
    Fail();
    std::memset(buffer, 0, static_cast<size_t>(count));
    return false;
}

void DumpReader::Fail()
{
    if (in_) {
        in_->ReportErrors();
    }
    failed_ = true;
}

void DumpReader::DiscardMadeObjects()
{
    for (auto id = madeIds_.rbegin(); id != madeIds_.rend(); ++id) {
        if (MessageReceiver* object = scene_->FindReceiver(*id)) {
            scene_->Delete(object);
        }
    }
    madeIds_.clear();
    objects_.clear();
}
