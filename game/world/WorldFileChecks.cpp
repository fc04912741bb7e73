#include "game/world/WorldFileChecks.h"

bool ReadBlock(Stream& file, void* out, int32_t bytes)
{
    if (bytes < 0 || file.Remaining() < bytes || file.Read(out, bytes) != bytes) {
        file.ReportErrors();
        return false;
    }
    return true;
}

bool SkipBlock(Stream& file, int32_t bytes)
{
    char skipped[12];
    return bytes <= static_cast<int32_t>(sizeof(skipped)) && ReadBlock(file, skipped, bytes);
}

bool ReadRecordCount(Stream& file, int32_t recordBytes, int32_t& count)
{
    if (!ReadBlock(file, &count, 4)) {
        return false;
    }
    if (count < 0 || count > file.Remaining() / (recordBytes > 0 ? recordBytes : 1)) {
        file.ReportErrors();
        return false;
    }
    return true;
}

bool CheckIndex(Stream& file, int32_t index, int32_t count)
{
    if (index < 0 || index >= count) {
        file.ReportErrors();
        return false;
    }
    return true;
}

bool ReadText(Stream& file, WideString& text)
{
    text = file.ReadText();
    return !file.HasErrors();
}

bool CheckRange(Stream& file, int32_t first, int32_t count, int32_t total)
{
    if (first < 0 || count < 0 || first > total || count > total - first) {
        file.ReportErrors();
        return false;
    }
    return true;
}
