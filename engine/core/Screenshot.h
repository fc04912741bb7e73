#pragma once
// Screenshots "Shot0001.TGA", "Shot0002.TGA", ...: uncompressed 32-bit TGA
// files written beside the data. Numbers taken by a loose or packed file
// are skipped.

#include "engine/files/WideString.h"

#include <cstdint>
#include <vector>

WideString NextScreenshotName();

// The pixels run row by row from the top, width x height of them; the file
// stores the rows bottom first.
void WriteScreenshot(const WideString& name, const std::vector<uint32_t>& pixels, int32_t width, int32_t height);
