#pragma once
#include <functional>

#include "base/Result.h"

class CStream;

// Writes a file's whole content through the stream; false when a write failed.
using FileContentWriter = std::function<bool(CStream& stream)>;

// Replaces the file at path in one step: the content goes to a new temporary file in the same
// folder, which is flushed and synced to disk and renamed over the target; the folder is then
// synced. On any failure the temporary file is removed and an existing target keeps its bytes.
// The new file keeps the permissions of the file it replaces. RES_OK or RES_FAIL.
Result SaveFileReplacing(const char16_t* path, const FileContentWriter& write);
