#pragma once
// Writes a set of root objects of a scene, and everything they refer to, as
// a DC2 serialisation dump. Each object writes its own settings when asked
// with dcSerializeSave, calling WriteObjectRef for the objects it refers to.
// The writer owns its table and its file, never the objects.

#include "engine/files/WideString.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"
#include "script/DumpFormat.h"

#include <cstdint>
#include <map>
#include <vector>

class Scene;
class WriteStream;

class DumpWriter {
public:
    DumpWriter() = default;
    DumpWriter(const DumpWriter&) = delete;
    DumpWriter& operator=(const DumpWriter&) = delete;

    // The scene whose ids are written.
    void SetScene(Scene* scene) { scene_ = scene; }
    void SetRevision(int32_t revision) { revision_ = revision; }
    int32_t GetRevision() const { return revision_; }

    // False when the file could not be made (reported by the file).
    bool WriteDump(const WideString& path, const std::vector<int32_t>& rootIds);
    bool WriteDumpFromRoot(const WideString& path, int32_t rootId) { return WriteDump(path, {rootId}); }

    // One object reference: the object's settings the first time, its index
    // after. An id that names nothing in the scene is a null reference.
    int32_t WriteObjectRef(int32_t id);
    void WriteString(const WideString& text);
    void WriteByte(uint8_t value);
    void WriteInt32(int32_t value);
    void WriteFloat(float value);
    void WriteVec3(const Vec3& value);
    void WriteQuaternion(const Quaternion& value);

private:
    void WriteObject(int32_t id, int32_t index);

    std::map<int32_t, int32_t> indices_;   // object id -> index
    int32_t nextIndex_ = 0;
    Scene* scene_ = nullptr;
    WriteStream* out_ = nullptr;   // the open file while a dump is written
    WideString path_;
    int32_t revision_ = dump_format::kEditorRevision;
    int32_t nesting_ = 0;
    bool reportedNesting_ = false;
};
