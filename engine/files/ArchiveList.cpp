#include "engine/files/ArchiveList.h"

#include "engine/files/NullStream.h"

ArchiveList& ArchiveList::Instance()
{
    static ArchiveList list;
    return list;
}

void ArchiveList::Mount(std::unique_ptr<Archive> archive)
{
    archives_.push_back(std::move(archive));
}

void ArchiveList::UnmountAll()
{
    archives_.clear();
}

std::unique_ptr<Stream> ArchiveList::OpenFile(const WideString& name)
{
    for (const auto& archive : archives_) {
        if (std::unique_ptr<Stream> stream = archive->OpenRead(name)) {
            return stream;
        }
    }
    return std::make_unique<NullStream>(name);
}

bool ArchiveList::FileExists(const WideString& name)
{
    for (const auto& archive : archives_) {
        if (archive->Exists(name)) {
            return true;
        }
    }
    return false;
}

bool ArchiveList::CanReadFile(const WideString& name)
{
    for (const auto& archive : archives_) {
        if (archive->CanRead(name)) {
            return true;
        }
    }
    return false;
}

bool ArchiveList::FindFiles(std::vector<WideString>& names, const WideString& pattern, bool withFolder, bool sorted)
{
    for (const auto& archive : archives_) {
        if (archive->FindFiles(names, pattern, withFolder, sorted)) {
            return true;
        }
    }
    return false;
}

std::unique_ptr<Stream> OpenFile(const WideString& name)
{
    return ArchiveList::Instance().OpenFile(name);
}

bool FileExists(const WideString& name)
{
    return ArchiveList::Instance().FileExists(name);
}

bool CanReadFile(const WideString& name)
{
    return ArchiveList::Instance().CanReadFile(name);
}

bool FindFiles(std::vector<WideString>& names, const WideString& pattern, bool withFolder, bool sorted)
{
    return ArchiveList::Instance().FindFiles(names, pattern, withFolder, sorted);
}

std::vector<WideString> ListFiles(const WideString& pattern)
{
    std::vector<WideString> names;
    FindFiles(names, pattern, false, true);
    return names;
}
