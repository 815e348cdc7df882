#pragma once
#include <cstdint>

#include "base/Result.h"

// The folder inside the pak that holds a platform's raw files, e.g. "_raw.full.Win32/";
// "undefined/" for a platform without one.
const char16_t* GetRawFolderName(uint32_t platform);

// Creates every folder of the path ('/' or '\' separated) that does not exist yet.
// RES_FAIL when one cannot be made or the path is longer than a path may be.
Result CreateDirectoryTree(const char16_t* path);
