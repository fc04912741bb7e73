#pragma once
// Reads a DC2 serialisation dump into live objects of a scene. Each object
// is made by the factory registered for its class id, enters the scene under
// a fresh id before its settings are read (so references back to it
// resolve), reads its settings when asked with dcSerializeLoad, and is told
// dcSceneAdd once everything below it was read.
//
// A dump is taken whole or not at all: a damaged one (cut short, a count or
// text longer than what is left, an unknown class, links nested too deep) is
// reported once as "%s contains errors", and every object it made leaves the
// scene again. The reader owns its tables and its file, never the objects.

#include "engine/files/Stream.h"
#include "engine/files/WideString.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class MessageReceiver;
class Scene;
class ScriptFactory;

class DumpReader {
public:
    DumpReader() = default;
    DumpReader(const DumpReader&) = delete;
    DumpReader& operator=(const DumpReader&) = delete;

    // The scene that receives the objects.
    void SetScene(Scene* scene) { scene_ = scene; }
    Scene* GetScene() const { return scene_; }
    // The first factory offered for a class id is the one used.
    void AddFactory(ScriptFactory* factory);

    // Fills the roots with the ids of the root objects (0 for a null root).
    // False, the roots unchanged, for a file that is missing, no dump (both
    // silent), or of another kind ("%s is not a serialisation dump"); false
    // and no roots for a damaged dump.
    bool ReadDump(const WideString& path, std::vector<int32_t>& rootIds, bool fullLoad);

    // One object reference into the slot: the object's id, made and loaded
    // when new; 0 for a null reference. The slot is left alone when the dump
    // fails, so callers fill their slots with 0 first.
    int32_t ReadObjectRef(int32_t& slot);
    void ReadString(WideString& text);
    uint8_t ReadByte();
    int32_t ReadInt32();
    float ReadFloat();
    Vec3 ReadVec3();
    Quaternion ReadQuaternion();
    // A count of records of at least recordBytes each; one the rest of the
    // dump cannot hold fails the dump and reads as 0.
    int32_t ReadCount(int32_t recordBytes);

    // The revision of the editor that wrote the dump: settings added later
    // are read only from their revision on.
    int32_t GetRevision() const { return revision_; }
    // 0 when only what a menu shows of a mission is wanted.
    bool IsFullLoad() const { return fullLoad_; }
    bool HasFailed() const { return failed_; }

private:
    bool ReadHeader(const WideString& path);
    MessageReceiver* MakeObject(int32_t classId, int32_t id);
    bool ReadExactly(void* buffer, int32_t count);
    void Fail();
    void DiscardMadeObjects();

    std::map<int32_t, ScriptFactory*> factories_;   // by class id
    std::map<int32_t, int32_t> objects_;            // index -> object id
    std::vector<int32_t> madeIds_;                  // in the order made
    std::unique_ptr<Stream> in_;
    Scene* scene_ = nullptr;
    int32_t revision_ = 0;
    int32_t nesting_ = 0;
    bool fullLoad_ = true;
    bool failed_ = false;
};
