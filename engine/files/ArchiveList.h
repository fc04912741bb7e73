#pragma once
// The mounted file sources, asked in the order they were mounted: the working
// folder first, then "Data.DCP", so loose files override packed ones. Filled
// once at start-up; lookups take no lock.

#include "engine/files/Archive.h"

#include <memory>
#include <vector>

class ArchiveList {
public:
    static ArchiveList& Instance();

    void Mount(std::unique_ptr<Archive> archive);
    void UnmountAll();
    bool IsEmpty() const { return archives_.empty(); }

    // Never null: a NullStream (size -1) when no source holds the name.
    std::unique_ptr<Stream> OpenFile(const WideString& name);
    bool FileExists(const WideString& name);
    bool CanReadFile(const WideString& name);
    // The first source with any match supplies all the names.
    bool FindFiles(std::vector<WideString>& names, const WideString& pattern, bool withFolder, bool sorted);

private:
    std::vector<std::unique_ptr<Archive>> archives_;
};

// The lookups every loader uses, on the mounted sources.
std::unique_ptr<Stream> OpenFile(const WideString& name);
bool FileExists(const WideString& name);
bool CanReadFile(const WideString& name);
bool FindFiles(std::vector<WideString>& names, const WideString& pattern, bool withFolder, bool sorted);
// Bare names, sorted: "Misc\*.DCL" lists "English.DCL".
std::vector<WideString> ListFiles(const WideString& pattern);
