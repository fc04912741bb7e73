#include "engine/files/PackArchive.h"

#include "engine/core/LogHub.h"
#include "engine/files/PackEntryStream.h"

#include <windows.h>

// iowin32.h relies on what unzip.h and windows.h declare before it.
#include <minizip/unzip.h>
#include <minizip/iowin32.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int32_t kStoredNameBytes = 1024;

struct NameParts {
    WideString folder;      // up to and including the last "\"
    WideString name;        // up to and including the last "."
    WideString extension;   // after the last "."
};

NameParts SplitName(const WideString& path)
{
    const int32_t folderEnd = WideStringFindLastChar(path, L'\\', 1) + 1;
    const WideString rest = WideStringTail(path, folderEnd);
    const int32_t dot = WideStringFindLastChar(rest, L'.', 1);
    if (dot < 0) {
        return {path.substr(0, folderEnd), rest, WideString()};
    }
    return {path.substr(0, folderEnd), rest.substr(0, dot + 1), rest.substr(dot + 1)};
}

// A prefix with "?" wildcards, cut short by "*".
bool PartMatches(const WideString& pattern, const WideString& part)
{
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'*') {
            return true;
        }
        if (pattern[i] == L'?') {
            continue;
        }
        if (i >= part.size() || pattern[i] != part[i]) {
            return false;
        }
    }
    return true;
}

WideString WorkingFolderPath(const WideString& name)
{
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    WideString path;
    return FormatWideString(path, "%s\\%s", folder, name.c_str());
}

bool FileIsThere(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file) {
        std::fclose(file);
    }
    return file != nullptr;
}

} // namespace

PackArchive::PackArchive(const WideString& packName)
    : packName_(packName)
    , packPath_(WideStringToNarrow(WorkingFolderPath(packName)))
{
    ReadIndex(packPath_);
}

WideString PackArchive::MemberKey(const WideString& storedName)
{
    WideString key = storedName;
    WideStringToUpper(key);
    std::replace(key.begin(), key.end(), L'/', L'\\');
    if (!key.empty() && key.back() == L'\\') {
        key.pop_back();
    }
    return key;
}

void PackArchive::ReadIndex(const std::string& path)
{
    if (!FileIsThere(path)) {
        return;
    }
    zlib_filefunc_def win32Files;
    fill_win32_filefunc(&win32Files);
    unzFile pack = unzOpen2(path.c_str(), &win32Files);
    if (!pack) {
        LogHub::PrintError("%s contains errors", packName_.c_str());
        return;
    }
    int result = unzGoToFirstFile(pack);
    while (result == UNZ_OK) {
        char storedName[kStoredNameBytes] = {};
        unz_file_info info;
        unz_file_pos position;
        if (unzGetCurrentFileInfo(pack, &info, storedName, sizeof storedName - 1, nullptr, 0, nullptr, 0) != UNZ_OK
            || unzGetFilePos(pack, &position) != UNZ_OK) {
            break;
        }
        const PackPosition packPosition{static_cast<uint32_t>(position.pos_in_zip_directory),
                                        static_cast<uint32_t>(position.num_of_file)};
        index_.emplace(MemberKey(WideStringFromChars(storedName, -1)), packPosition);
        result = unzGoToNextFile(pack);
    }
    if (result != UNZ_END_OF_LIST_OF_FILE) {
        LogHub::PrintError("%s contains errors", packName_.c_str());
    }
    unzClose(pack);
}

bool PackArchive::CanRead(const WideString& name)
{
    WideString key = name;
    WideStringToUpper(key);
    return index_.count(key) != 0;
}

std::unique_ptr<Stream> PackArchive::OpenRead(const WideString& name)
{
    WideString key = name;
    WideStringToUpper(key);
    auto found = index_.find(key);
    if (found == index_.end()) {
        return nullptr;
    }
    auto stream = std::make_unique<PackEntryStream>(packPath_, name, found->second);
    if (stream->GetSize() < 0) {
        LogHub::PrintError("%s contains errors", name.c_str());
        return nullptr;
    }
    return stream;
}

bool PackArchive::FindFiles(std::vector<WideString>& names, const WideString& pattern, bool withFolder, bool)
{
    WideString upper = pattern;
    WideStringToUpper(upper);
    const NameParts wanted = SplitName(upper);
    for (const auto& [key, position] : index_) {
        const NameParts parts = SplitName(key);
        if (parts.folder == wanted.folder && PartMatches(wanted.name, parts.name)
            && PartMatches(wanted.extension, parts.extension)) {
            names.push_back(withFolder ? key : parts.name + parts.extension);
        }
    }
    return !names.empty();
}
