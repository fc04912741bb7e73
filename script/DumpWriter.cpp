#include "script/DumpWriter.h"

#include "engine/core/LogHub.h"
#include "engine/core/MessageReceiver.h"
#include "engine/core/Scene.h"
#include "engine/files/FileWriteStream.h"
#include "script/TriggerMessages.h"

#include <algorithm>

bool DumpWriter::WriteDump(const WideString& path, const std::vector<int32_t>& rootIds)
{
    FileWriteStream file(path);
    if (!file.IsOpen()) {
        return false;
    }
    out_ = &file;
    path_ = path;
    indices_.clear();
    nextIndex_ = 0;
    reportedNesting_ = false;
    file.Write(dump_format::kMagic, sizeof dump_format::kMagic);
    file.WriteInt32(0);
    file.WriteInt32(dump_format::kDumpKind);
    file.WriteInt32(revision_);
    file.WriteInt32(static_cast<int32_t>(rootIds.size()));
    for (int32_t id : rootIds) {
        WriteObjectRef(id);
    }
    out_ = nullptr;
    return true;
}

int32_t DumpWriter::WriteObjectRef(int32_t id)
{
    if (!out_) {
        return id;
    }
    if (auto known = indices_.find(id); known != indices_.end()) {
        out_->WriteInt32(known->second);
        return id;
    }
    const int32_t index = nextIndex_++;
    out_->WriteInt32(index);
    WriteObject(id, index);
    return id;
}

// The class id and the settings, or class id 0 for nothing. Beyond the
// nesting the reader accepts, objects are left out rather than written into
// a file that could not be read back.
void DumpWriter::WriteObject(int32_t id, int32_t index)
{
    MessageReceiver* object = scene_ ? scene_->FindReceiver(id) : nullptr;
    if (object && nesting_ >= dump_format::kMaxNesting) {
        if (!reportedNesting_) {
            LogHub::PrintError("%s: mission links nest deeper than %d nodes, the deeper ones are left out",
                               path_.c_str(), dump_format::kMaxNesting);
            reportedNesting_ = true;
        }
        object = nullptr;
    }
    if (!object) {
        out_->WriteInt32(0);
        return;
    }
    indices_.emplace(id, index);
    out_->WriteInt32(object->GetClassID());
    ++nesting_;
    object->Send(dcSerializeSave{this});
    --nesting_;
}

void DumpWriter::WriteString(const WideString& text)
{
    if (!out_) {
        return;
    }
    const auto count = static_cast<int32_t>(text.size());
    const bool narrow = std::all_of(text.begin(), text.end(), [](wchar_t c) { return c <= 0xFF; });
    if (narrow) {
        out_->WriteText(text);
        return;
    }
    // wchar_t is a UTF-16 code unit on this target.
    out_->WriteInt32(-count);
    out_->Write(text.data(), count * 2);
}

void DumpWriter::WriteByte(uint8_t value)
{
    if (out_) {
        out_->WriteByte(value);
    }
}

void DumpWriter::WriteInt32(int32_t value)
{
    if (out_) {
        out_->WriteInt32(value);
    }
}

void DumpWriter::WriteFloat(float value)
{
    if (out_) {
        out_->WriteFloat(value);
    }
}

void DumpWriter::WriteVec3(const Vec3& value)
{
    WriteFloat(value.x);
    WriteFloat(value.y);
    WriteFloat(value.z);
}

void DumpWriter::WriteQuaternion(const Quaternion& value)
{
    WriteFloat(value.x);
    WriteFloat(value.y);
    WriteFloat(value.z);
    WriteFloat(value.w);
}
