#pragma once
// Stands in for a file that no source holds: size -1, every read gives zeros.

#include "engine/files/Stream.h"

class NullStream : public Stream {
public:
    explicit NullStream(const WideString& name) : Stream(name, -1) {}

    void Seek(int32_t, int32_t) override {}
    int32_t Tell() override { return 0; }
    int32_t Read(void* buffer, int32_t count) override;
};
