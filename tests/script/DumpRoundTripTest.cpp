// Mission graphs written by the dump writer and read back by the reader: every
// node class with its settings and links, shared nodes and cycles, texts of
// every character, and the settings older editor revisions did not store.

#include "script/dcDisableTrigger.h"
#include "script/dcDummyTrigger.h"
#include "script/dcEnableTrigger.h"
#include "script/dcLoadSky.h"
#include "script/dcScriptClean.h"
#include "script/dcStartTrigger.h"
#include "script/dcTriggerTarget.h"
#include "tests/script/ScriptTestSupport.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const WideString kAccented = {L'A', wchar_t(0x00E9), L'!'};
const WideString kBeyondLatin1 = {wchar_t(0x20AC), L' ', wchar_t(0x0152), wchar_t(0x011F)};

bool SameQuaternion(const Quaternion& a, const Quaternion& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
}

bool SameVec3(const Vec3& a, const Vec3& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

class DumpRoundTripTest : public testing::Test {
protected:
    ScratchFiles files;
    HostScene from;
    HostScene into;
};

// Start -> (Enable, Disable, Dummy, Target, Clean); Enable -> Dummy (shared);
// Disable -> Target; Dummy -> Start (a cycle); Target's subject is Dummy.
TEST_F(DumpRoundTripTest, EveryNodeClassKeepsItsSettingsAndLinks)
{
    auto* start = AddNode<dcStartTrigger>(from);
    auto* enable = AddNode<dcEnableTrigger>(from);
    auto* disable = AddNode<dcDisableTrigger>(from);
    auto* dummy = AddNode<dcDummyTrigger>(from);
    auto* target = AddNode<dcTriggerTarget>(from);
    auto* clean = AddNode<dcScriptClean>(from);
    auto* sky = AddNode<dcLoadSky>(from);
    start->PauseOnStart = 1;
    start->AllowStart = 1;
    start->Name = 1201;
    start->Description = 1202;
    start->InternalName = kAccented;
    start->ImageName = L"Menu\\Mission1.TGA";
    start->Multiplay = 1;
    start->Sides = {{StartSide::kBlue, 3001, {L"Cop", kBeyondLatin1}}, {StartSide::kGold, 3002, {}}};
    start->SetEditorRect({10, 20, 110, 60});
    start->GetTargetIds() = {enable->GetId(), disable->GetId(), dummy->GetId(),
                             target->GetId(), clean->GetId(),   sky->GetId()};
    enable->GetTargetIds() = {dummy->GetId()};
    disable->GetTargetIds() = {target->GetId()};
    dummy->GetTargetIds() = {start->GetId()};
    dummy->SetEditorRect({-5, -6, 7, 8});
    target->Position = {1.5f, -2.0f, 300.25f};
    target->Orientation = {0.0f, 0.70710677f, 0.0f, 0.70710677f};
    target->SubjectId = dummy->GetId();
    clean->CleanWorld = 0;
    clean->CleanScript = 1;
    sky->Sky = L"Night";

    const std::vector<int32_t> roots = SaveAndLoad(from, {start->GetId()}, into);
    ASSERT_EQ(roots.size(), 1u);
    EXPECT_EQ(into.Count(), 7);   // the shared node and the cycle's root made once
    auto* start2 = FindNode<dcStartTrigger>(into, roots[0]);
    ASSERT_NE(start2, nullptr);
    EXPECT_EQ(start2->PauseOnStart, 1);
    EXPECT_EQ(start2->AllowStart, 1);
    EXPECT_EQ(start2->Name, 1201);
    EXPECT_EQ(start2->Description, 1202);
    EXPECT_EQ(start2->InternalName, kAccented);
    EXPECT_EQ(start2->ImageName, L"Menu\\Mission1.TGA");
    EXPECT_EQ(start2->Multiplay, 1);
    ASSERT_EQ(start2->Sides.size(), 2u);
    EXPECT_EQ(start2->Sides[0].SideIndex, StartSide::kBlue);
    EXPECT_EQ(start2->Sides[0].SideName, 3001);
    EXPECT_EQ(start2->Sides[0].SideVehicles, (std::vector<WideString>{L"Cop", kBeyondLatin1}));
    EXPECT_EQ(start2->Sides[1].SideIndex, StartSide::kGold);
    EXPECT_TRUE(start2->Sides[1].SideVehicles.empty());
    EXPECT_EQ(start2->GetEditorRect().right, 110);
    EXPECT_EQ(start2->GetEditorRect().bottom, 60);

    const std::vector<int32_t>& links = start2->GetTargetIds();
    ASSERT_EQ(links.size(), 6u);
    auto* enable2 = FindNode<dcEnableTrigger>(into, links[0]);
    auto* disable2 = FindNode<dcDisableTrigger>(into, links[1]);
    auto* dummy2 = FindNode<dcDummyTrigger>(into, links[2]);
    auto* target2 = FindNode<dcTriggerTarget>(into, links[3]);
    auto* clean2 = FindNode<dcScriptClean>(into, links[4]);
    auto* sky2 = FindNode<dcLoadSky>(into, links[5]);
    ASSERT_TRUE(enable2 && disable2 && dummy2 && target2 && clean2 && sky2);
    EXPECT_EQ(enable2->GetTargetIds(), (std::vector<int32_t>{dummy2->GetId()}));
    EXPECT_EQ(disable2->GetTargetIds(), (std::vector<int32_t>{target2->GetId()}));
    EXPECT_EQ(dummy2->GetTargetIds(), (std::vector<int32_t>{start2->GetId()}));
    EXPECT_EQ(dummy2->GetEditorRect().left, -5);
    EXPECT_TRUE(SameVec3(target2->Position, target->Position));
    EXPECT_TRUE(SameQuaternion(target2->Orientation, target->Orientation));
    EXPECT_EQ(target2->SubjectId, dummy2->GetId());
    EXPECT_EQ(clean2->CleanWorld, 0);
    EXPECT_EQ(clean2->CleanScript, 1);
    EXPECT_EQ(sky2->Sky, L"Night");
}

// Writing [X, 0] gives X in full as index 0, then index 1 with class id 0.
TEST_F(DumpRoundTripTest, ANullRootIsStoredAsANullReference)
{
    auto* x = AddNode<dcDummyTrigger>(from);
    const std::vector<int32_t> roots = SaveAndLoad(from, {x->GetId(), 0}, into);
    ASSERT_EQ(roots.size(), 2u);
    EXPECT_NE(FindNode<dcDummyTrigger>(into, roots[0]), nullptr);
    EXPECT_EQ(roots[1], 0);
    const FileBytes expected = DumpBytes()
                                   .Header(35, 2)
                                   .Object(0, dcDummyTrigger::Identity().Id())
                                   .Base(0)
                                   .Object(1, 0)
                                   .bytes;
    EXPECT_EQ(ReadWholeFile(L"RoundTrip.dcScript"), expected);
}

// A link to a node that is gone is stored as a null reference and read back
// as 0, which firing skips.
TEST_F(DumpRoundTripTest, ALinkToANodeThatIsGoneReadsAsNoLink)
{
    auto* gone = AddNode<dcDummyTrigger>(from);
    auto* kept = AddNode<dcDummyTrigger>(from);
    auto* source = AddNode<dcDummyTrigger>(from);
    source->GetTargetIds() = {gone->GetId(), kept->GetId()};
    from.Delete(gone);
    const std::vector<int32_t> roots = SaveAndLoad(from, {source->GetId()}, into);
    ASSERT_EQ(roots.size(), 1u);
    const std::vector<int32_t>& links = FindNode<dcDummyTrigger>(into, roots[0])->GetTargetIds();
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0], 0);
    EXPECT_NE(FindNode<dcDummyTrigger>(into, links[1]), nullptr);
}

// Texts of one byte per character where they fit, so that files with them
// stay as they always were; every other character survives too.
TEST_F(DumpRoundTripTest, TextsSurviveForEveryCharacter)
{
    struct Case {
        WideString text;
        FileBytes stored;   // count and characters as they appear in the file
    };
    WideString everyUnit;
    for (int32_t unit = 1; unit <= 0xFFFF; ++unit) {
        everyUnit.push_back(static_cast<wchar_t>(unit));
    }
    for (const Case& c : std::initializer_list<Case>{
             {L"", {0, 0, 0, 0}},
             {{L'A', wchar_t(0x00E9)}, {2, 0, 0, 0, 0x41, 0xE9}},
             {{wchar_t(0x20AC), L'A'}, {0xFE, 0xFF, 0xFF, 0xFF, 0xAC, 0x20, 0x41, 0x00}},
             {everyUnit, {}}}) {
        HostScene source;
        HostScene read;
        auto* start = AddNode<dcStartTrigger>(source);
        start->InternalName = c.text;
        const std::vector<int32_t> roots = SaveAndLoad(source, {start->GetId()}, read);
        ASSERT_EQ(roots.size(), 1u);
        EXPECT_TRUE(FindNode<dcStartTrigger>(read, roots[0])->InternalName == c.text) << c.text.size();
        const FileBytes file = ReadWholeFile(L"RoundTrip.dcScript");
        EXPECT_TRUE(c.stored.empty() || std::search(file.begin(), file.end(), c.stored.begin(), c.stored.end()) !=
                                            file.end());
    }
}

// Settings added by later editors keep their defaults in older dumps.
TEST(DumpRevisions, AStartNodeReadsOnlyWhatItsRevisionStored)
{
    struct Case {
        int32_t revision;
        bool hasNames;
        bool hasSides;
        bool hasPause;
    };
    for (const Case& c : std::initializer_list<Case>{{12, false, false, false},
                                                     {13, true, false, false},
                                                     {17, true, false, false},
                                                     {18, true, true, false},
                                                     {19, true, true, false},
                                                     {20, true, true, true},
                                                     {35, true, true, true}}) {
        DumpBytes dump;
        dump.Header(c.revision, 1).Object(0, dcStartTrigger::Identity().Id());
        if (c.hasPause) {
            dump.Byte(1);
        }
        if (c.hasNames) {
            dump.Byte(1).Int32(77).Int32(78).Int32(2).Byte('I').Byte('N').Int32(1).Byte('P');
        }
        if (c.hasSides) {
            dump.Byte(1).Int32(1).Int32(StartSide::kGreen).Int32(91).Int32(1).Int32(3).Byte('V').Byte('a').Byte('n');
        }
        dump.Base(0);
        HostScene scene;
        std::vector<int32_t> roots;
        ASSERT_TRUE(ReadBytes(scene, dump.bytes, roots)) << c.revision;
        const dcStartTrigger* start = FindNode<dcStartTrigger>(scene, roots[0]);
        ASSERT_NE(start, nullptr);
        EXPECT_EQ(start->PauseOnStart, c.hasPause ? 1 : 0) << c.revision;
        EXPECT_EQ(start->AllowStart, c.hasNames ? 1 : 0) << c.revision;
        EXPECT_EQ(start->Name, c.hasNames ? 77 : 0) << c.revision;
        EXPECT_EQ(start->Description, c.hasNames ? 78 : 0) << c.revision;
        EXPECT_EQ(start->InternalName, c.hasNames ? L"IN" : L"") << c.revision;
        EXPECT_EQ(start->ImageName, c.hasNames ? L"P" : L"") << c.revision;
        EXPECT_EQ(start->Multiplay, c.hasSides ? 1 : 0) << c.revision;
        ASSERT_EQ(start->Sides.size(), c.hasSides ? 1u : 0u) << c.revision;
        if (c.hasSides) {
            EXPECT_EQ(start->Sides[0].SideIndex, StartSide::kGreen);
            EXPECT_EQ(start->Sides[0].SideName, 91);
            EXPECT_EQ(start->Sides[0].SideVehicles, std::vector<WideString>{L"Van"});
        }
    }
}

TEST(DumpRevisions, ATargetNodeBeforeRevision15FacesTheIdentity)
{
    for (int32_t revision : {14, 15}) {
        DumpBytes dump;
        dump.Header(revision, 1).Object(0, dcTriggerTarget::Identity().Id()).Float(1).Float(2).Float(3);
        if (revision >= 15) {
            dump.Float(0).Float(1).Float(0).Float(0);
        }
        dump.Object(1, 0).Base(0);
        HostScene scene;
        std::vector<int32_t> roots;
        ASSERT_TRUE(ReadBytes(scene, dump.bytes, roots));
        const dcTriggerTarget* target = FindNode<dcTriggerTarget>(scene, roots[0]);
        ASSERT_NE(target, nullptr);
        EXPECT_TRUE(SameVec3(target->Position, {1, 2, 3}));
        EXPECT_TRUE(SameQuaternion(target->Orientation, revision >= 15 ? Quaternion{0, 1, 0, 0} : Quaternion{}));
        EXPECT_EQ(target->SubjectId, 0);
    }
}

// Without full load a start node reads its settings and leaves its links.
TEST_F(DumpRoundTripTest, AMenuReadsTheStartNodeWithoutItsLinks)
{
    auto* start = AddNode<dcStartTrigger>(from);
    auto* dummy = AddNode<dcDummyTrigger>(from);
    start->Name = 5;
    start->GetTargetIds() = {dummy->GetId()};
    const std::vector<int32_t> roots = SaveAndLoad(from, {start->GetId()}, into, 35, false);
    ASSERT_EQ(roots.size(), 1u);
    EXPECT_EQ(into.Count(), 1);
    EXPECT_EQ(FindNode<dcStartTrigger>(into, roots[0])->Name, 5);
    EXPECT_TRUE(FindNode<dcStartTrigger>(into, roots[0])->GetTargetIds().empty());
}

// A chain of links as deep as the reader takes is written and read whole;
// one deeper is written without its deepest node, and said so.
TEST_F(DumpRoundTripTest, TheWriterStopsAtTheNestingTheReaderTakes)
{
    std::vector<dcDummyTrigger*> chain;
    for (int32_t i = 0; i <= dump_format::kMaxNesting; ++i) {
        chain.push_back(AddNode<dcDummyTrigger>(from));
        if (i > 0) {
            chain[i - 1]->GetTargetIds() = {chain[i]->GetId()};
        }
    }
    ScopedCapture log;
    const std::vector<int32_t> roots = SaveAndLoad(from, {chain[0]->GetId()}, into);
    EXPECT_EQ(log->Count(L"nest deeper than"), 1);
    ASSERT_EQ(roots.size(), 1u);
    EXPECT_EQ(into.Count(), dump_format::kMaxNesting);
    EXPECT_EQ(log->Count(L"contains errors"), 0);
}

} // namespace
