#pragma once
// The members of the ZIP data pack "Data.DCP". Its central directory is read
// once, at construction, into an index of upper-cased names with "\" as the
// separator; each opened member reopens the pack on its own handle, so
// streams on different threads share nothing.

#include "engine/files/Archive.h"

#include <cstdint>
#include <map>
#include <string>

struct PackPosition {
    uint32_t directoryOffset;   // the member's entry in the central directory
    uint32_t memberNumber;
};

class PackArchive : public Archive {
public:
    // The pack in the working folder at construction. A missing pack finds nothing; a
    // damaged one is reported once and finds what could be read of it.
    explicit PackArchive(const WideString& packName);

    bool CanRead(const WideString& name) override;
    bool CanWrite(const WideString&) override { return false; }
    // Null, and reported, when an indexed member does not open.
    std::unique_ptr<Stream> OpenRead(const WideString& name) override;
    // Folder parts must equal; name and extension parts are prefixes with "?"
    // wildcards, cut short by "*". Results come in key order.
    bool FindFiles(std::vector<WideString>& names, const WideString& pattern, bool withFolder, bool sorted) override;

    // The index key of a stored member name: upper-case, "\" separators, no
    // trailing separator.
    static WideString MemberKey(const WideString& storedName);

private:
    void ReadIndex(const std::string& path);

    WideString packName_;   // as given, for messages
    // Members are opened by it, so they stay readable when the working
    // folder changes after start-up.
    std::string packPath_;   // full path, as the ZIP reader takes it
    std::map<WideString, PackPosition> index_;
};
