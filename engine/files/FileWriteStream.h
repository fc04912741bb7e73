#pragma once
// Writes a loose file of the working folder, created or emptied. Written files
// never go to the pack, so they override packed files of the same name. A file
// that cannot be created is reported once, and writes to it do nothing.

#include "engine/files/WriteStream.h"

#include <cstdio>

class FileWriteStream : public WriteStream {
public:
    explicit FileWriteStream(const WideString& name);
    ~FileWriteStream() override;
    FileWriteStream(const FileWriteStream&) = delete;
    FileWriteStream& operator=(const FileWriteStream&) = delete;

    int32_t Tell() override;
    void Seek(int32_t position) override;
    int32_t WriteByte(uint8_t value) override { return WriteItem(&value, sizeof value); }
    int32_t WriteInt16(int16_t value) override { return WriteItem(&value, sizeof value); }
    int32_t WriteInt32(int32_t value) override { return WriteItem(&value, sizeof value); }
    int32_t WriteFloat(float value) override { return WriteItem(&value, sizeof value); }
    int32_t WriteText(const WideString& text, int32_t count = -1) override;
    int32_t WriteWideText(const WideString& text, int32_t count = -1) override;
    int32_t Write(const void* data, int32_t count) override;

    void Flush();
    // Flushes the file through to the disk and closes it; true when it was
    // created and everything written reached it. Writes after it do nothing.
    bool Close();
    void Move(int32_t delta) { Seek(Tell() + delta); }

    bool IsOpen() const { return file_ != nullptr; }
    const WideString& GetName() const { return name_; }

private:
    int32_t WriteItem(const void* data, size_t size);
    void ReportFailure();

    std::FILE* file_;
    WideString name_;
    bool reportedFailure_ = false;
};
