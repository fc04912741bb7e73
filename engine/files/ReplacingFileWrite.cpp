#include "engine/files/ReplacingFileWrite.h"

#include "engine/core/LogHub.h"
#include "engine/files/FileWriteStream.h"

#include <windows.h>

bool WriteFileReplacing(const WideString& name, const std::function<void(WriteStream&)>& write)
{
    const WideString written = name + L".new";
    {
        FileWriteStream out(written);
        if (!out.IsOpen()) {
            return false;   // the stream has said so
        }
        write(out);
        if (!out.Close()) {
            DeleteFileW(written.c_str());
            return false;
        }
    }
    if (!MoveFileExW(written.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        LogHub::PrintError("%s could not be written", name.c_str());
        DeleteFileW(written.c_str());
        return false;
    }
    return true;
}
