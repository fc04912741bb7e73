#pragma once
// A readable file opened by name through the mounted sources. Values are
// little-endian, floats IEEE single precision. A stream of size -1 stands for
// a file that was not found; reading it gives zeros and empty texts.

#include "engine/files/WideString.h"

#include <cstdint>
#include <string>

enum SeekOrigin : int32_t {
    kSeekStart = 0,
    kSeekCurrent = 1,
    kSeekEnd = 2,
};

class Stream {
public:
    Stream(const WideString& name, int32_t size) : name_(name), size_(size) {}
    virtual ~Stream() = default;
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    virtual void Seek(int32_t offset, int32_t origin) = 0;
    virtual int32_t Tell() = 0;
    // The number of bytes delivered, never negative.
    virtual int32_t Read(void* buffer, int32_t count) = 0;

    void Skip(int32_t count) { Seek(count, kSeekCurrent); }
    // A value the stream cannot deliver whole reads as 0.
    uint8_t ReadByte();
    int16_t ReadInt16();
    int32_t ReadInt32();
    float ReadFloat();
    // int32 length, then one byte per character, widened with sign extension.
    // A text the stream cannot deliver whole is reported and cut.
    WideString ReadText();
    // int32 length in characters, then UTF-16LE; cut alike.
    WideString ReadWideText();
    // An int32 count of records of at least recordBytes each; a count the
    // rest of the stream cannot hold is reported and cut to what it can.
    int32_t ReadCount(int32_t recordBytes) { return FitCount(ReadInt32(), recordBytes); }
    // The same for a count already read.
    int32_t FitCount(int32_t count, int32_t recordBytes);

    // Logs "%s contains errors" for this stream, once.
    void ReportErrors();
    bool HasErrors() const { return reportedErrors_; }

    const WideString& GetName() const { return name_; }
    int32_t GetSize() const { return size_; }
    int32_t Remaining();

protected:
    WideString name_;
    int32_t size_;

private:
    template <class T>
    T ReadValue();
    std::string ReadBytes(int32_t count);

    bool reportedErrors_ = false;
};
