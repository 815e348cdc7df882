#pragma once
#include <ctime>
#include <functional>
#include <string>

#include "base/Result.h"

class CStream;

// Writes a file's whole content through the stream; false when a write failed.
using FileContentWriter = std::function<bool(CStream& stream)>;

// Replaces the file at path in one step: the content goes to a new temporary file in the same
// folder ("<path>.XXXXXX"), which is flushed and synced to disk and renamed over the target; the
// folder is then synced. On any failure the temporary file is removed and an existing target keeps
// its bytes. The new file keeps the permissions of the file it replaces. RES_OK or RES_FAIL.
Result SaveFileReplacing(const char16_t* path, const FileContentWriter& write);

// Moves whatever stands at path (a damaged file, a folder, a pipe) to "<path>.damaged", in place
// of an earlier copy there, so that the place is free for the next save and the bytes stay at hand.
// The copy's path goes to kept when given. RES_FAIL when nothing stands at path or it cannot move.
Result KeepDamagedFile(const char16_t* path, std::string* kept = nullptr);

// Whether something that is no regular file (a folder, a pipe, a device) stands at path.
bool IsOtherThanFile(const char16_t* path);

// Removes the temporary files of interrupted saves ("<name>.sav.XXXXXX", regular files) that were
// last changed before the time given; the number removed.
unsigned RemoveStaleSaveTemporaries(const char16_t* folder, time_t before);

// Whether a new file can be made in folder (made and removed again); errno tells why not.
bool CanCreateFileIn(const char16_t* folder);
