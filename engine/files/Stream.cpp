#include "engine/files/Stream.h"

#include "engine/core/LogHub.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr int32_t kTextPieceBytes = 64 * 1024;

} // namespace

template <class T>
T Stream::ReadValue()
{
    T value{};
    if (Read(&value, sizeof value) != static_cast<int32_t>(sizeof value)) {
        return T{};
    }
    return value;
}

uint8_t Stream::ReadByte()
{
    return ReadValue<uint8_t>();
}

int16_t Stream::ReadInt16()
{
    return ReadValue<int16_t>();
}

int32_t Stream::ReadInt32()
{
    return ReadValue<int32_t>();
}

float Stream::ReadFloat()
{
    return ReadValue<float>();
}

int32_t Stream::Remaining()
{
    if (size_ < 0) {
        return 0;
    }
    return std::max(size_ - Tell(), 0);
}

void Stream::ReportErrors()
{
    if (reportedErrors_) {
        return;
    }
    reportedErrors_ = true;
    LogHub::PrintError("%s contains errors", name_.c_str());
}

// A count only a damaged file holds is cut to the records left.
int32_t Stream::FitCount(int32_t count, int32_t recordBytes)
{
    const int32_t fits = Remaining() / std::max(recordBytes, 1);
    if (count < 0 || count > fits) {
        ReportErrors();
        return std::clamp(count, 0, fits);
    }
    return count;
}

// Reads in pieces of bounded size: a length only a damaged file holds must not
// reserve more memory than the stream really delivers.
std::string Stream::ReadBytes(int32_t count)
{
    std::string bytes;
    while (static_cast<int32_t>(bytes.size()) < count) {
        const size_t at = bytes.size();
        const int32_t piece = std::min(count - static_cast<int32_t>(at), kTextPieceBytes);
        bytes.resize(at + piece);
        const int32_t delivered = std::max(Read(bytes.data() + at, piece), 0);
        bytes.resize(at + delivered);
        if (delivered < piece) {
            ReportErrors();
            break;
        }
    }
    return bytes;
}

WideString Stream::ReadText()
{
    const std::string bytes = ReadBytes(ReadCount(1));
    WideString text(bytes.size(), L'\0');
    std::transform(bytes.begin(), bytes.end(), text.begin(),
                   [](char byte) { return static_cast<wchar_t>(static_cast<int16_t>(static_cast<signed char>(byte))); });
    return text;
}

WideString Stream::ReadWideText()
{
    const std::string bytes = ReadBytes(ReadCount(2) * 2);
    WideString text(bytes.size() / 2, L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    return text;
}
