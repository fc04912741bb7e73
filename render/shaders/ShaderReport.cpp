#include "render/shaders/ShaderReport.h"

#include "engine/core/LogHub.h"

#include <cstdarg>

void ReportShaderError(const char* format, ...)
{
    LogHub& hub = LogHub::Instance();
    if (hub.GetLevel() < kLogError) {
        return;
    }
    va_list args;
    va_start(args, format);
    hub.PrintV(kLogWarning, format, args);
    va_end(args);
}
