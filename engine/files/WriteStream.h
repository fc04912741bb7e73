#pragma once
// A file being written: settings, screenshots, caches, mission scripts, the
// log. The counterpart of Stream's readers.

#include "engine/files/WideString.h"

#include <cstdint>

class WriteStream {
public:
    virtual ~WriteStream() = default;

    virtual int32_t Tell() = 0;
    virtual void Seek(int32_t position) = 0;
    // Each writer answers the number of items written.
    virtual int32_t WriteByte(uint8_t value) = 0;
    virtual int32_t WriteInt16(int16_t value) = 0;
    virtual int32_t WriteInt32(int32_t value) = 0;
    virtual int32_t WriteFloat(float value) = 0;
    // int32 count, then the low 8 bits of count characters; count -1 is the
    // whole text and a larger count is cut to it.
    virtual int32_t WriteText(const WideString& text, int32_t count = -1) = 0;
    // int32 count, then count characters of UTF-16LE.
    virtual int32_t WriteWideText(const WideString& text, int32_t count = -1) = 0;
    virtual int32_t Write(const void* data, int32_t count) = 0;
};
