#include "engine/files/FileStream.h"

FileStream::FileStream(const WideString& name)
    : Stream(name, -1)
    , file_(std::fopen(WideStringToNarrow(name).c_str(), "rb"))
{
    if (!file_) {
        return;
    }
    std::fseek(file_, 0, SEEK_END);
    size_ = static_cast<int32_t>(std::ftell(file_));
    std::fseek(file_, 0, SEEK_SET);
}

FileStream::~FileStream()
{
    if (file_) {
        std::fclose(file_);
    }
}

void FileStream::Seek(int32_t offset, int32_t origin)
{
    if (file_) {
        std::fseek(file_, offset, origin);
    }
}

int32_t FileStream::Tell()
{
    return file_ ? static_cast<int32_t>(std::ftell(file_)) : 0;
}

int32_t FileStream::Read(void* buffer, int32_t count)
{
    if (!file_ || count <= 0) {
        return 0;
    }
    return static_cast<int32_t>(std::fread(buffer, 1, count, file_));
}
