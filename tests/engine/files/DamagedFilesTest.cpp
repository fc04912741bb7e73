// Language files and data packs, damaged every way a copy can be cut short
// or overwritten: each load returns, and what is refused is reported under
// the file's name.

#include "engine/files/LanguageTable.h"
#include "engine/files/PackArchive.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/DamagedCopies.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

constexpr size_t kDclHeaderBytes = 19;

// The header and each entry's key and length of a good .DCL file.
std::vector<ByteRange> DclFields(const FileBytes& good)
{
    std::vector<ByteRange> fields{{0, kDclHeaderBytes}};
    const size_t unitBytes = GetLittleEndian(good, 11, 4) == 1 ? 2 : 1;
    for (size_t at = kDclHeaderBytes; at + 8 <= good.size(); at += 8 + unitBytes * GetLittleEndian(good, at + 4, 4)) {
        fields.push_back({at, at + 8});
    }
    return fields;
}

std::vector<DamagedCopy> Join(std::vector<DamagedCopy> first, std::vector<DamagedCopy> second)
{
    first.insert(first.end(), std::make_move_iterator(second.begin()), std::make_move_iterator(second.end()));
    return first;
}

// Reads the member to its end in pieces, as loaders do, and answers how many
// bytes it gave; a member that never ends is cut off after its stated size.
int64_t ReadToEnd(Stream& in)
{
    char piece[4096];
    int64_t total = 0;
    while (total <= in.GetSize()) {
        const int32_t got = in.Read(piece, sizeof piece);
        if (got <= 0) {
            break;
        }
        total += got;
    }
    return total;
}

struct PackMember {
    WideString key;
    ByteRange storedName;   // in the central directory
};

// The members of a good pack, from its central directory.
std::vector<PackMember> PackMembers(const FileBytes& pack)
{
    std::vector<PackMember> members;
    for (const ByteRange& entry : RangesAtSignature(pack, "PK\x01\x02", 46)) {
        const ByteRange name{entry.begin + 46, entry.begin + 46 + GetLittleEndian(pack, entry.begin + 28, 2)};
        const std::string stored(pack.begin() + name.begin, pack.begin() + name.end);
        members.push_back({PackArchive::MemberKey(WideStringFromChars(stored.c_str(), -1)), name});
    }
    return members;
}

// Nothing tells an overwritten name from another name: the member is found
// under that one.
bool Renamed(const PackMember& member, const FileBytes& good, const FileBytes& copy)
{
    return copy.size() < member.storedName.end
        || !std::equal(good.begin() + member.storedName.begin, good.begin() + member.storedName.end,
                       copy.begin() + member.storedName.begin);
}

void WriteWholeFile(const char* name, const FileBytes& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

TEST(DamagedFiles, LanguageFilesLoadWhatTheyHoldAndReportTheRest)
{
    const wchar_t* const name = L"Misc\\Damaged.DCL";
    MountedMemoryFile source(name);
    for (const wchar_t* fixture : {L"languages\\Misc\\English.DCL", L"languages\\Misc\\Deutsch.DCL"}) {
        const FileBytes good = ReadWholeFile(FixturePath(fixture));
        ASSERT_GT(good.size(), kDclHeaderBytes) << WideStringToNarrow(fixture);
        const std::vector<DamagedCopy> copies =
            Join(CutCopies(good, good.size(), 0), OverwrittenCopies(good, 400, DclFields(good)));
        for (const DamagedCopy& copy : copies) {
            source.Serve(copy.bytes);
            ScopedCapture log;
            TextMap texts;
            const bool loaded = LoadLanguageFile(name, texts);
            // A cut copy always loses texts, so it is always reported.
            if (!loaded || copy.bytes.size() < good.size()) {
                EXPECT_TRUE(log->Contains(name)) << WideStringToNarrow(fixture) << ": " << copy.damage;
            }
        }
    }
}

TEST(DamagedFiles, DataPacksOpenWhatTheyCanAndReportTheRest)
{
    struct Case {
        const wchar_t* fixture;
        size_t members;
    };
    ScratchFolder scratch;
    for (const Case& c : std::initializer_list<Case>{{L"sources\\Data.DCP", 23}, {L"audio\\Data.DCP", 3}}) {
        const FileBytes good = ReadWholeFile(FixturePath(c.fixture));
        const std::vector<PackMember> members = PackMembers(good);
        ASSERT_EQ(members.size(), c.members) << WideStringToNarrow(c.fixture);
        const std::vector<ByteRange> endRecord = RangesAtSignature(good, "PK\x05\x06", 22);
        std::vector<ByteRange> records = endRecord;
        for (const auto& [signature, length] : {std::pair<const char*, size_t>{"PK\x03\x04", 30}, {"PK\x01\x02", 46}}) {
            const std::vector<ByteRange> more = RangesAtSignature(good, signature, length);
            records.insert(records.end(), more.begin(), more.end());
        }

        const std::vector<DamagedCopy> copies =
            Join(CutCopies(good, 0, 150, endRecord), OverwrittenCopies(good, 300, records));
        for (const DamagedCopy& copy : copies) {
            WriteWholeFile("Data.DCP", copy.bytes);
            ScopedCapture log;
            PackArchive pack(L"Data.DCP");
            for (const PackMember& member : members) {
                const std::string what = copy.damage + ", " + WideStringToNarrow(member.key);
                if (!pack.CanRead(member.key)) {
                    EXPECT_TRUE(log->Contains(L"Data.DCP") || Renamed(member, good, copy.bytes))
                        << what << " is lost unreported";
                    continue;
                }
                std::unique_ptr<Stream> in = pack.OpenRead(member.key);
                if (!in) {
                    EXPECT_TRUE(log->Contains(member.key)) << what << " does not open, unreported";
                    continue;
                }
                const int32_t stated = in->GetSize();
                const int64_t delivered = ReadToEnd(*in);
                if (delivered != stated) {
                    EXPECT_TRUE(log->Contains(member.key)) << what << " gave " << delivered << " of " << stated;
                }
                in->Seek(0, kSeekStart);
                char first[16];
                in->Read(first, sizeof first);
                in->Seek(0, kSeekEnd);
                EXPECT_LE(in->Tell(), stated) << what;
            }
        }
    }
}

// Members whose headers both state almost 2 GiB, with a count or a text
// length that trusts it: a reader must stop where the data does, neither
// reading hundreds of millions of empty entries nor reserving the whole text.
TEST(DamagedFiles, PackMembersLargerThanTheirDataEndWhereTheDataDoes)
{
    MountedFixture fixture(L"overstated");
    struct Case {
        const wchar_t* file;
        TextMap texts;
    };
    for (const Case& c : std::initializer_list<Case>{{L"Misc\\Huge.DCL", {{7, L"Seven"}}},
                                                     {L"Misc\\Long.DCL", {{8, L""}}}}) {
        // Readers size their records by what is left, so the stated size is
        // believed only as far as the stored data could inflate.
        EXPECT_LT(OpenFile(c.file)->GetSize(), 1 << 20) << WideStringToNarrow(c.file);
        ScopedCapture log(kLogError);
        TextMap texts;
        EXPECT_TRUE(LoadLanguageFile(c.file, texts)) << WideStringToNarrow(c.file);
        EXPECT_EQ(texts, c.texts) << WideStringToNarrow(c.file);
        EXPECT_EQ(log->lines, std::vector<WideString>{WideString(c.file) + L" contains errors"});
    }
}
