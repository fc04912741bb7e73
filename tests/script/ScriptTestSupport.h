#pragma once
// Scenes, nodes and game hooks for the mission tests: nodes that note each
// firing in a shared journal, a stand-in for the running game, and dumps
// written to and read from a scratch folder or built byte by byte.

#include "engine/files/ArchiveList.h"
#include "engine/files/FolderArchive.h"
#include "engine/net/HostScene.h"
#include "script/DumpFormat.h"
#include "script/DumpReader.h"
#include "script/DumpWriter.h"
#include "script/ScriptFactories.h"
#include "script/ScriptGameHooks.h"
#include "script/dcTrigger.h"
#include "tests/support/DamagedCopies.h"
#include "tests/support/Fixtures.h"
// <windows.h> would rename the receivers' GetClassName to GetClassNameW.
#undef GetClassName

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using Journal = std::vector<std::string>;

// Notes "name<-sender" when fired while enabled, runs its reaction, then
// fires its targets as itself.
class dcTestNode : public dcTrigger {
    DC_RECEIVER(dcTestNode, dcTrigger)
public:
    dcTestNode(std::string name, Journal& journal) : name_(std::move(name)), journal_(journal)
    {
        Handles<dcTriggerMessage, &dcTestNode::OnTrigger>();
    }

    std::function<void()> onFire;

protected:
    virtual void OnTrigger(const dcTriggerMessage& message)
    {
        if (IsEnabled()) {
            journal_.push_back(name_ + "<-" + std::to_string(message.sender));
            if (onFire) {
                onFire();
            }
            FireOwnTargets();
        }
    }

    std::string name_;
    Journal& journal_;
};

// A node fired after the others, as the delay nodes are; it notes each
// dcTriggerDelay it is asked.
class dcTestDelayNode : public dcTestNode {
    DC_RECEIVER(dcTestDelayNode, dcTestNode)
public:
    dcTestDelayNode(std::string name, Journal& journal) : dcTestNode(std::move(name), journal)
    {
        Handles<dcTriggerDelay, &dcTestDelayNode::OnDelay>();
    }

private:
    void OnDelay(const dcTriggerDelay&) { journal_.push_back(name_ + " asked"); }
};

// The running game as the nodes see it.
class FakeGameHooks : public ScriptGameHooks {
public:
    FakeGameHooks() { SetScriptGameHooks(this); }
    ~FakeGameHooks() override { SetScriptGameHooks(nullptr); }
    FakeGameHooks(const FakeGameHooks&) = delete;
    FakeGameHooks& operator=(const FakeGameHooks&) = delete;

    HostScene* GetHostRouter() override { return hostRouter; }
    bool IsNetworkClient() override { return networkClient; }
    void Hold(const std::vector<int32_t>& imageIds) override { holds.push_back(imageIds); }
    float GetHoldValue() override { return holdValue; }
    void RecordReachedScript(const WideString& path) override { reachedScripts.push_back(path); }

    HostScene* hostRouter = nullptr;
    bool networkClient = false;
    float holdValue = 0.0f;
    std::vector<std::vector<int32_t>> holds;
    std::vector<WideString> reachedScripts;
};

// The node made and added to the scene.
template <class Node, class... Args>
Node* AddNode(Scene& scene, Args&&... args)
{
    auto* node = new Node(std::forward<Args>(args)...);
    scene.Add(node);
    return node;
}

template <class Node>
Node* FindNode(Scene& scene, int32_t id)
{
    return dynamic_cast<Node*>(scene.FindReceiver(id));
}

// A scratch folder as the only file source, where dumps are written and read.
class ScratchFiles {
public:
    ScratchFiles()
    {
        ArchiveList::Instance().UnmountAll();
        ArchiveList::Instance().Mount(std::make_unique<FolderArchive>());
    }
    ~ScratchFiles() { ArchiveList::Instance().UnmountAll(); }
    ScratchFiles(const ScratchFiles&) = delete;
    ScratchFiles& operator=(const ScratchFiles&) = delete;

private:
    ScratchFolder folder_;
};

// Writes the roots of one scene and reads them into another with the
// registry's factories; the roots read, empty when the read failed.
inline std::vector<int32_t> SaveAndLoad(Scene& from, const std::vector<int32_t>& rootIds, Scene& into,
                                        int32_t revision = dump_format::kEditorRevision, bool fullLoad = true)
{
    const WideString path = L"RoundTrip.dcScript";
    DumpWriter writer;
    writer.SetScene(&from);
    writer.SetRevision(revision);
    EXPECT_TRUE(writer.WriteDump(path, rootIds));
    DumpReader reader;
    reader.SetScene(&into);
    AddScriptFactories(reader);
    std::vector<int32_t> read;
    reader.ReadDump(path, read, fullLoad);
    return read;
}

// A dump built byte by byte, as a damaged or hostile file may hold it.
class DumpBytes {
public:
    DumpBytes& Header(int32_t revision, int32_t rootCount, int32_t kind = dump_format::kDumpKind)
    {
        bytes.insert(bytes.end(), {'D', 'C', '2'});
        return Int32(0).Int32(kind).Int32(revision).Int32(rootCount);
    }
    DumpBytes& Byte(uint8_t value)
    {
        bytes.push_back(value);
        return *this;
    }
    DumpBytes& Int32(int32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> shift));
        }
        return *this;
    }
    DumpBytes& Float(float value)
    {
        int32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return Int32(bits);
    }
    // A new object: index, class id; its settings follow.
    DumpBytes& Object(int32_t index, int32_t classId) { return Int32(index).Int32(classId); }
    // The part every node stores: a zero rectangle and the target count.
    DumpBytes& Base(int32_t targetCount) { return Int32(0).Int32(0).Int32(0).Int32(0).Int32(targetCount); }

    FileBytes bytes;
};

// Reads the bytes as the file under the name, with the registry's factories.
inline bool ReadBytes(Scene& scene, const FileBytes& bytes, std::vector<int32_t>& rootIds)
{
    const WideString path = L"Scripts\\Damaged.dcScript";
    MountedMemoryFile file(path);
    file.Serve(bytes);
    DumpReader reader;
    reader.SetScene(&scene);
    AddScriptFactories(reader);
    return reader.ReadDump(path, rootIds, true);
}
