#pragma once
// Reports of shader constants that find no variable: warnings, written only
// when the log asks for more than messages, since a missing constant keeps
// whatever the device holds and often does no harm.

// printf-style, "%s" taking a wide string.
void ReportShaderError(const char* format, ...);
