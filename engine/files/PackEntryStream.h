#pragma once
// One member of the data pack, decompressed as it is read.

#include "engine/files/PackArchive.h"
#include "engine/files/Stream.h"

class PackEntryStream : public Stream {
public:
    // The pack by its full path; size -1 when the member could not be opened.
    PackEntryStream(const std::string& packPath, const WideString& name, const PackPosition& position);
    ~PackEntryStream() override;

    // A compressed member moves by decompressing: backwards from its start.
    void Seek(int32_t offset, int32_t origin) override;
    int32_t Tell() override;
    // Damaged member data, or data shorter than stated, reads as the end of
    // the member, which then has the size read so far; it is reported.
    int32_t Read(void* buffer, int32_t count) override;

private:
    void Drop(int32_t count);

    void* pack_;   // its own minizip handle
};
