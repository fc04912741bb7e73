#pragma once
// Writing a file that must never be lost, such as the settings: the new
// content goes to a file of its own beside it ("<name>.new"), which then
// takes the old file's place in one step. A crash or a full disk while
// writing leaves the old file whole.

#include "engine/files/WriteStream.h"

#include <functional>

// False, with one log line naming the file, when the new content could not
// be written or put in place; the old file then stays as it was.
bool WriteFileReplacing(const WideString& name, const std::function<void(WriteStream&)>& write);
