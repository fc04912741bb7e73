#pragma once
// A stream over a loose file of the working folder.

#include "engine/files/Stream.h"

#include <cstdio>

class FileStream : public Stream {
public:
    // Size -1 when the file does not open.
    explicit FileStream(const WideString& name);
    ~FileStream() override;

    void Seek(int32_t offset, int32_t origin) override;
    int32_t Tell() override;
    int32_t Read(void* buffer, int32_t count) override;

    bool IsOpen() const { return file_ != nullptr; }

private:
    std::FILE* file_;
};
