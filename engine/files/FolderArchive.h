#pragma once
// The loose files under the working folder. Both "\" and "/" separate folders.

#include "engine/files/Archive.h"

class FolderArchive : public Archive {
public:
    bool CanRead(const WideString& name) override;
    // Probes without changing an existing file.
    bool CanWrite(const WideString& name) override;
    std::unique_ptr<Stream> OpenRead(const WideString& name) override;
    // The platform's wildcards ("*", "?", case-insensitive; "*." lists
    // names without extension, such as folders), in the platform's order
    // unless sorted.
    bool FindFiles(std::vector<WideString>& names, const WideString& pattern, bool withFolder, bool sorted) override;
};
