#include "engine/files/FileWriteStream.h"

#include "engine/core/LogHub.h"

#include <windows.h>

#include <io.h>

#include <algorithm>
#include <string>

namespace {

int32_t ClampCount(const WideString& text, int32_t count)
{
    const int32_t length = static_cast<int32_t>(text.size());
    return count < 0 ? length : std::min(count, length);
}

} // namespace

FileWriteStream::FileWriteStream(const WideString& name)
    : file_(std::fopen(WideStringToNarrow(name).c_str(), "wb"))
    , name_(name)
{
    if (!file_) {
        ReportFailure();
    }
}

FileWriteStream::~FileWriteStream()
{
    if (file_ && std::fclose(file_) != 0) {
        ReportFailure();
    }
}

bool FileWriteStream::Close()
{
    if (!file_) {
        return false;
    }
    Flush();
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file_)));
    if (handle == INVALID_HANDLE_VALUE || !FlushFileBuffers(handle)) {
        ReportFailure();
    }
    if (std::fclose(file_) != 0) {
        ReportFailure();
    }
    file_ = nullptr;
    return !reportedFailure_;
}

void FileWriteStream::ReportFailure()
{
    if (reportedFailure_) {
        return;
    }
    reportedFailure_ = true;
    LogHub::PrintError("%s could not be written", name_.c_str());
}

int32_t FileWriteStream::Tell()
{
    return file_ ? static_cast<int32_t>(std::ftell(file_)) : 0;
}

void FileWriteStream::Seek(int32_t position)
{
    if (file_) {
        std::fseek(file_, position, SEEK_SET);
    }
}

int32_t FileWriteStream::WriteItem(const void* data, size_t size)
{
    if (!file_) {
        return 0;
    }
    const int32_t written = static_cast<int32_t>(std::fwrite(data, size, 1, file_));
    if (written != 1) {
        ReportFailure();
    }
    return written;
}

int32_t FileWriteStream::Write(const void* data, int32_t count)
{
    if (!file_ || count <= 0) {
        return 0;
    }
    const int32_t written = static_cast<int32_t>(std::fwrite(data, 1, count, file_));
    if (written != count) {
        ReportFailure();
    }
    return written;
}

int32_t FileWriteStream::WriteText(const WideString& text, int32_t count)
{
    count = ClampCount(text, count);
    WriteInt32(count);
    std::string bytes(count, '\0');
    std::transform(text.begin(), text.begin() + count, bytes.begin(),
                   [](wchar_t c) { return static_cast<char>(c & 0xFF); });
    return Write(bytes.data(), count);
}

int32_t FileWriteStream::WriteWideText(const WideString& text, int32_t count)
{
    count = ClampCount(text, count);
    WriteInt32(count);
    return count > 0 ? Write(text.data(), count * 2) / 2 : 0;
}

void FileWriteStream::Flush()
{
    if (file_ && std::fflush(file_) != 0) {
        ReportFailure();
    }
}
