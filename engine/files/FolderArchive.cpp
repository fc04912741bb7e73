#include "engine/files/FolderArchive.h"

#include "engine/files/FileStream.h"

#include <io.h>

#include <algorithm>
#include <cstdio>

bool FolderArchive::CanRead(const WideString& name)
{
    if (name.empty()) {
        return false;
    }
    std::FILE* file = std::fopen(WideStringToNarrow(name).c_str(), "rb");
    if (!file) {
        return false;
    }
    std::fclose(file);
    return true;
}

bool FolderArchive::CanWrite(const WideString& name)
{
    if (name.empty()) {
        return false;
    }
    const std::string path = WideStringToNarrow(name);
    const bool existed = CanRead(name);
    // Appending opens an existing file for writing without touching it.
    std::FILE* file = std::fopen(path.c_str(), existed ? "ab" : "wb");
    if (!file) {
        return false;
    }
    std::fclose(file);
    if (!existed) {
        std::remove(path.c_str());
    }
    return true;
}

std::unique_ptr<Stream> FolderArchive::OpenRead(const WideString& name)
{
    auto stream = std::make_unique<FileStream>(name);
    if (!stream->IsOpen()) {
        return nullptr;
    }
    return stream;
}

bool FolderArchive::FindFiles(std::vector<WideString>& names, const WideString& pattern, bool withFolder, bool sorted)
{
    _finddata_t found;
    const intptr_t search = _findfirst(WideStringToNarrow(pattern).c_str(), &found);
    if (search == -1) {
        return false;
    }
    const WideString prefix = withFolder ? pattern.substr(0, WideStringFindLastChar(pattern, L'\\', 1) + 1) : WideString();
    const size_t first = names.size();
    do {
        const std::string entry = found.name;
        if (entry != "." && entry != "..") {
            names.push_back(prefix + WideStringFromChars(found.name, -1));
        }
    } while (_findnext(search, &found) == 0);
    _findclose(search);
    if (sorted) {
        std::stable_sort(names.begin() + static_cast<std::ptrdiff_t>(first), names.end(), WideStringLess);
    }
    return !names.empty();
}
