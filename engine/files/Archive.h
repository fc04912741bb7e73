#pragma once
// A file source: the loose files of the working folder or the data pack.

#include "engine/files/Stream.h"

#include <memory>
#include <vector>

class Archive {
public:
    virtual ~Archive() = default;

    virtual bool Exists(const WideString& name) { return CanRead(name); }
    virtual bool CanRead(const WideString& name) = 0;
    virtual bool CanWrite(const WideString& name) = 0;
    // A new stream, or nullptr when the source lacks the file.
    virtual std::unique_ptr<Stream> OpenRead(const WideString& name) = 0;
    // Appends the names that match the pattern; whether the list holds any.
    virtual bool FindFiles(std::vector<WideString>& names, const WideString& pattern, bool withFolder,
                           bool sorted) = 0;
};
