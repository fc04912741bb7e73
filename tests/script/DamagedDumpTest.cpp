// Dumps that are damaged or made to harm: each is refused whole, with one
// line naming the file, and leaves no node of it in the scene; nothing
// crashes, hangs or exhausts the stack.

#include "script/DumpReader.h"
#include "script/dcDummyTrigger.h"
#include "script/dcStartTrigger.h"
#include "tests/script/ScriptTestSupport.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

const int32_t kDummy = dcDummyTrigger::Identity().Id();
const int32_t kStart = dcStartTrigger::Identity().Id();

// Start node at revision 35 with empty texts and no sides.
DumpBytes& StartSettings(DumpBytes& dump)
{
    return dump.Byte(0).Byte(0).Int32(0).Int32(0).Int32(0).Int32(0).Byte(0).Int32(0);
}

// Links nested depth nodes deep: each dummy node defines the next in its
// own settings.
FileBytes Chain(int32_t depth)
{
    DumpBytes dump;
    dump.Header(35, 1);
    for (int32_t i = 0; i < depth; ++i) {
        dump.Object(i, kDummy).Base(i + 1 < depth ? 1 : 0);
    }
    return dump.bytes;
}

struct Case {
    const char* damage;
    FileBytes bytes;
    const wchar_t* logged;   // null: refused in silence
};

std::vector<Case> DamagedDumps()
{
    DumpBytes hugeRootCount;
    hugeRootCount.Header(35, 1000);
    DumpBytes negativeRootCount;
    negativeRootCount.Header(35, -1);
    DumpBytes hugeTargetCount;
    hugeTargetCount.Header(35, 1).Object(0, kDummy).Base(0x10000000).Object(1, 0);
    DumpBytes hugeText;
    StartSettings(hugeText.Header(35, 1).Object(0, kStart).Byte(0).Byte(1).Int32(0).Int32(0).Int32(INT_MAX));
    DumpBytes negativeText;
    negativeText.Header(35, 1).Object(0, kStart).Byte(0).Byte(1).Int32(0).Int32(0).Int32(INT_MIN).Int32(0);
    DumpBytes hugeWideText;
    hugeWideText.Header(35, 1).Object(0, kStart).Byte(0).Byte(1).Int32(0).Int32(0).Int32(-0x10000000).Int32(0);
    DumpBytes hugeSideCount;
    hugeSideCount.Header(35, 1).Object(0, kStart).Byte(0).Byte(1).Int32(0).Int32(0).Int32(0).Int32(0).Byte(1).Int32(
        0x7FFFFFF0);
    DumpBytes unknownClass;
    unknownClass.Header(35, 2).Object(0, kDummy).Base(1).Object(1, 0x1234567).Base(0).Object(2, kDummy).Base(0);
    DumpBytes missingClass;
    missingClass.Header(35, 1).Object(0, kDummy).Base(1).Object(1, HashClassName("dcCreateCar"));
    DumpBytes cutInSettings;
    cutInSettings.Header(35, 2).Object(0, kDummy).Base(0).Object(1, kDummy).Int32(0).Int32(0);
    DumpBytes wrongKind;
    wrongKind.Header(35, 1, 4).Object(0, kDummy).Base(0);
    FileBytes wrongMagic = DumpBytes().Header(35, 0).bytes;
    wrongMagic[2] = '3';
    const FileBytes header = DumpBytes().Header(35, 0).bytes;

    return {
        {"empty", {}, nullptr},
        {"wrong magic", wrongMagic, nullptr},
        {"9 bytes", FileBytes(header.begin(), header.begin() + 9), L"contains errors"},
        {"header without root count", FileBytes(header.begin(), header.begin() + 18), L"contains errors"},
        {"kind 4", wrongKind.bytes, L"is not a serialisation dump"},
        {"more roots than bytes", hugeRootCount.bytes, L"contains errors"},
        {"negative root count", negativeRootCount.bytes, L"contains errors"},
        {"more targets than bytes", hugeTargetCount.bytes, L"contains errors"},
        {"text longer than the file", hugeText.bytes, L"contains errors"},
        {"text of -2^31 characters", negativeText.bytes, L"contains errors"},
        {"wide text longer than the file", hugeWideText.bytes, L"contains errors"},
        {"more sides than bytes", hugeSideCount.bytes, L"contains errors"},
        {"unknown class id", unknownClass.bytes, L"Unknown ClassID while reading Scripts\\Damaged.dcScript"},
        {"class the game lacks", missingClass.bytes, L"dcCreateCar: this mission node is not part of the game"},
        {"cut inside a node's settings", cutInSettings.bytes, L"contains errors"},
        {"links nested too deep", Chain(dump_format::kMaxNesting + 1), L"nest deeper than"},
        {"links nested without end", Chain(100000), L"nest deeper than"},
    };
}

TEST(DamagedDump, IsRefusedWholeWithOneLineNamingTheFile)
{
    for (const Case& c : DamagedDumps()) {
        ScopedCapture log;
        HostScene scene;
        std::vector<int32_t> roots = {77};
        EXPECT_FALSE(ReadBytes(scene, c.bytes, roots)) << c.damage;
        EXPECT_EQ(scene.Count(), 0) << c.damage;
        if (!c.logged) {
            EXPECT_TRUE(log->lines.empty()) << c.damage;
            EXPECT_EQ(roots, std::vector<int32_t>{77}) << c.damage;
            continue;
        }
        EXPECT_EQ(log->Count(c.logged), 1) << c.damage;
        // A dump of another kind is no damaged dump; every other refusal says the file is.
        const bool otherKind = WideString(c.logged).find(L"not a serialisation dump") != WideString::npos;
        EXPECT_EQ(log->Count(L"contains errors"), otherKind ? 0 : 1) << c.damage;
        EXPECT_GE(log->Count(L"Scripts\\Damaged.dcScript"), 1) << c.damage;
    }
}

TEST(DamagedDump, AChainAsDeepAsTheReaderTakesLoads)
{
    HostScene scene;
    std::vector<int32_t> roots;
    ASSERT_TRUE(ReadBytes(scene, Chain(dump_format::kMaxNesting), roots));
    EXPECT_EQ(scene.Count(), dump_format::kMaxNesting);
}

// A good mission cut at every length, and with bytes overwritten: each copy
// loads (every root it names is there) or leaves nothing, and a refusal of a
// dump is always said.
TEST(DamagedDump, CopiesOfAGoodMissionLoadWholeOrNotAtAll)
{
    ScratchFiles files;
    HostScene source;
    auto* start = AddNode<dcStartTrigger>(source);
    auto* a = AddNode<dcDummyTrigger>(source);
    auto* b = AddNode<dcDummyTrigger>(source);
    start->InternalName = L"Mission";
    start->Sides = {{StartSide::kRed, 1, {L"Cop", L"Van"}}};
    start->GetTargetIds() = {a->GetId(), b->GetId()};
    a->GetTargetIds() = {b->GetId(), start->GetId()};
    DumpWriter writer;
    writer.SetScene(&source);
    ASSERT_TRUE(writer.WriteDump(L"Good.dcScript", {start->GetId()}));
    const FileBytes good = ReadWholeFile(L"Good.dcScript");

    std::vector<DamagedCopy> copies = CutCopies(good, good.size(), 0);
    std::vector<DamagedCopy> overwritten = OverwrittenCopies(good, 400, {{0, good.size()}});
    copies.insert(copies.end(), overwritten.begin(), overwritten.end());
    for (const DamagedCopy& copy : copies) {
        ScopedCapture log;
        HostScene scene;
        std::vector<int32_t> roots;
        if (ReadBytes(scene, copy.bytes, roots)) {
            for (int32_t root : roots) {
                EXPECT_TRUE(root == 0 || scene.FindReceiver(root)) << copy.damage;
            }
            continue;
        }
        EXPECT_EQ(scene.Count(), 0) << copy.damage;
        const bool isDump = copy.bytes.size() >= 3 && std::equal(copy.bytes.begin(), copy.bytes.begin() + 3, "DC2");
        EXPECT_EQ(log->lines.empty(), !isDump) << copy.damage;
    }
}

} // namespace
