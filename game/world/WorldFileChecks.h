#pragma once
// Reading the world file without trusting it: every block must be there
// whole, and every index must address a record of its table. A failed check
// reports the file once ("%s contains errors") and answers false; the loader
// then gives the world up.

#include "engine/files/Stream.h"

#include <cstdint>

// bytes bytes into out; false, reported, when the file ends first.
bool ReadBlock(Stream& file, void* out, int32_t bytes);
// Past bytes bytes (at most 12) that the file must hold; false, reported, when it ends first.
bool SkipBlock(Stream& file, int32_t bytes);
// An int32 count of records of recordBytes each that the rest of the file
// can hold; false, reported, for a negative count or one past the end.
bool ReadRecordCount(Stream& file, int32_t recordBytes, int32_t& count);
// A length-prefixed text; false when the stream reported one that does not fit.
bool ReadText(Stream& file, WideString& text);
// False, reported, unless 0 <= index < count.
bool CheckIndex(Stream& file, int32_t index, int32_t count);
// False, reported, unless first..first + count lies within 0..total.
bool CheckRange(Stream& file, int32_t first, int32_t count, int32_t total);
