#pragma once
// A file source that holds the listed names and nothing else, as a data pack
// that the working folder does not show.

#include "engine/files/Archive.h"

#include <algorithm>
#include <vector>

class ListedFilesArchive : public Archive {
public:
    explicit ListedFilesArchive(std::vector<WideString> names) : names_(std::move(names)) {}

    bool CanRead(const WideString& name) override
    {
        return std::find(names_.begin(), names_.end(), name) != names_.end();
    }
    bool CanWrite(const WideString&) override { return false; }
    std::unique_ptr<Stream> OpenRead(const WideString&) override { return nullptr; }
    bool FindFiles(std::vector<WideString>&, const WideString&, bool, bool) override { return false; }

private:
    std::vector<WideString> names_;
};
