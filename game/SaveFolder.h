#pragma once
#include <cstddef>
#include <cstdint>
#include <ctime>

#include "base/Result.h"
#include "core/FolderLock.h"

// Save paths may be as long as the system allows (PATH_MAX bytes, so at most as many units).
constexpr size_t kMaxSavePathUnits = 4096;

// The folder inside the pak that holds a platform's raw files, e.g. "_raw.full.Win32/";
// "undefined/" for a platform without one.
const char16_t* GetRawFolderName(uint32_t platform);

// Creates every folder of the path ('/' or '\' separated) that does not exist yet.
// RES_FAIL when one cannot be made or the path is longer than a save path may be.
Result CreateDirectoryTree(const char16_t* path);

// The save folder as one program uses it: one program per folder (an advisory lock, taken when the
// folder is first used, when the leftovers of interrupted saves older than the program are
// removed), and what went wrong with it, each trouble logged once. The player is told of a trouble
// once (TakeNotice).
class CSaveFolder {
public:
    enum class Trouble { None, NoPlace, CannotMake, CannotWrite, SaveFailed, InUse };

    // started: the program's start; the interrupted saves older than it are stale.
    explicit CSaveFolder(time_t started) : m_started(started) {}

    // Makes the folder and takes it for this program; RES_FAIL (logged to logPath) when it cannot
    // be made or another program holds it. A folder that takes no new file is used but noted.
    Result Use(const char16_t* folder, const char16_t* logPath);
    // No folder can be named (no application-data, data-home or home folder).
    void NoteNoPlace(const char16_t* logPath);
    // A save to path failed: logged with the system's reason.
    void NoteSaveFailed(const char16_t* path, const char16_t* logPath);
    // A save went through: an earlier failed save no longer needs telling.
    void NoteSaved();

    bool IsTakenByAnother() const { return m_trouble == Trouble::InUse; }
    Trouble GetTrouble() const { return m_trouble; }
    // A trouble the player was not told of yet; it then counts as told.
    bool TakeNotice();

private:
    void Note(Trouble trouble, const char16_t* logPath, const char16_t* format, const char16_t* path,
              bool always = false);

    time_t m_started;
    CFolderLock m_lock;
    Trouble m_trouble = Trouble::None;
    bool m_bTold = true;
};
