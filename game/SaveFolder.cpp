#include "game/SaveFolder.h"

#include <cerrno>
#include <cstring>

#include "base/FileSystem.h"
#include "base/StringHelpers.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/FileSave.h"
#include "core/Log.h"
#include "game/VadadiDazidevWorld.h"
#include "platform/win32/Win32System.h"

namespace {

const char16_t kDataFolderName[] = u"Data_full_Win32\\";
const char16_t kSaveFolderName[] = u"Kvo Adventure";

bool IsSeparator(char16_t unit)
{
    return unit == u'/' || unit == u'\\';
}

// Whether a formatted text of written units fitted its buffer whole.
bool Fits(size_t written, size_t capacity)
{
    return written + 1 < capacity;
}

} // namespace

const char16_t* GetRawFolderName(uint32_t platform)
{
    switch (platform) {
    case 0:
        return u"_raw.full.Win32/";
    case 1:
        return u"_raw.full.MacOS/";
    case 3:
        return u"_raw.full.iPhone/";
    case 4:
        return u"_raw.full.iPad/";
    case 5:
        return u"_raw.full.Android/";
    case 6:
        return u"_raw.full.FlashAS3/";
    case 10:
        return u"_raw.full.WinCE/";
    case 11:
        return u"_raw.full.S60/";
    default:
        return u"undefined/";
    }
}

Result CreateDirectoryTree(const char16_t* path)
{
    size_t length = WStrLen(path);
    if (length == 0 || length >= kMaxSavePathUnits)
        return RES_FAIL;
    char16_t prefix[kMaxSavePathUnits];
    for (size_t end = 1; end <= length; ++end) {
        if ((end < length && !IsSeparator(path[end])) || IsSeparator(path[end - 1]))
            continue;
        WStrCopy(prefix, end + 1, path);
        if (!CreateDirectoryW(prefix, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return RES_FAIL;
    }
    return RES_OK;
}

Result CVadadiDazidevWorld::GetDataFolder()
{
    const CParamsReader* game = m_pData ? m_pData->gameParams : nullptr;
    if (game)
        IgnoreResult(game->GetString(u"PATH", u"APP_NAME", u"undefined", m_GameData.m_szAppName, kAppNameUnits));
    else
        WStrCopy(m_GameData.m_szAppName, kAppNameUnits, u"undefined");
    NarrowString(m_GameData.m_szAppName, m_GameData.m_szAppNameA, kAppNameUnits);
    if (m_pData)
        WStrCopy(m_pData->dataFolder, kMaxPathUnits, kDataFolderName);
    WStrCopy(m_GameData.m_szRawFolder, kRawFolderUnits, GetRawFolderName(m_GameData.m_nPlatform));
    return RES_OK;
}

Result CVadadiDazidevWorld::SavePath(const char16_t* name, bool noMove, char16_t* out, size_t capacity)
{
    char16_t folder[kMaxSavePathUnits];
    const char16_t* app = m_GameData.m_szAppName;
    if (!app[0] || Failed(UseSaveFolder(folder)) ||
        !Fits(WFormat(out, capacity, u"%s/%s.v1.%s", folder, app, name), capacity))
        return RES_FAIL;
    char16_t old[kMaxSavePathUnits];
    if (!noMove && Fits(WFormat(old, kMaxSavePathUnits, u"%s/%s.%s", folder, app, name), kMaxSavePathUnits))
        MoveFileW(old, out);
    return RES_OK;
}

// "<APPDATA>/Kvo Adventure/<APP>" into folder (kMaxSavePathUnits units), made and taken.
Result CVadadiDazidevWorld::UseSaveFolder(char16_t* folder)
{
    const char16_t* log = m_pData ? m_pData->logPath : nullptr;
    char16_t appData[kMaxSavePathUnits];
    DWORD length = GetEnvironmentVariableW(u"APPDATA", appData, kMaxSavePathUnits);
    if (length == 0 || length >= kMaxSavePathUnits ||
        !Fits(WFormat(folder, kMaxSavePathUnits, u"%s/%s/%s", appData, kSaveFolderName, m_GameData.m_szAppName),
              kMaxSavePathUnits)) {
        m_SaveFolder.NoteNoPlace(log);
        return RES_FAIL;
    }
    return m_SaveFolder.Use(folder, log);
}

void CVadadiDazidevWorld::KeepDamagedSave(const char16_t* path)
{
    std::string kept;
    if (Succeeded(KeepDamagedFile(path, &kept)))
        LogPrintf(m_pData ? m_pData->logPath : nullptr, 1, u"# The save \"%s\" is damaged: kept as \"%S\"\n", path,
                  kept.c_str());
}

Result CVadadiDazidevWorld::SaveReplacing(const char16_t* path, const FileContentWriter& write)
{
    if (Succeeded(SaveFileReplacing(path, write))) {
        m_SaveFolder.NoteSaved();
        return RES_OK;
    }
    m_SaveFolder.NoteSaveFailed(path, m_pData ? m_pData->logPath : nullptr);
    return RES_FAIL;
}

Result CSaveFolder::Use(const char16_t* folder, const char16_t* logPath)
{
    const std::string resolved = ResolvePath(folder);
    if (m_lock.Holds(resolved))
        return RES_OK;
    if (Failed(CreateDirectoryTree(folder))) {
        Note(Trouble::CannotMake, logPath, u"# The save folder \"%s\" cannot be made (%S): nothing will be saved\n",
             folder);
        return RES_FAIL;
    }
    switch (m_lock.Take(resolved)) {
    case CFolderLock::State::Held:
        RemoveStaleSaveTemporaries(folder, m_started);
        if (!CanCreateFileIn(folder))
            Note(Trouble::CannotWrite, logPath, u"# The save folder \"%s\" takes no new file (%S): nothing will be saved\n",
                 folder);
        return RES_OK;
    case CFolderLock::State::TakenByAnother:
        errno = 0;
        Note(Trouble::InUse, logPath, u"# Another copy of the game is using the save folder \"%s\"%S: this copy ends\n",
             folder);
        return RES_FAIL;
    default:
        Note(Trouble::CannotMake, logPath, u"# The save folder \"%s\" cannot be opened (%S): nothing will be saved\n",
             folder);
        return RES_FAIL;
    }
}

void CSaveFolder::NoteNoPlace(const char16_t* logPath)
{
    errno = 0;
    Note(Trouble::NoPlace, logPath,
         u"# No folder for saves: APPDATA, XDG_DATA_HOME and the home folder are unknown%s%S: nothing will be saved\n",
         u"");
}

void CSaveFolder::NoteSaveFailed(const char16_t* path, const char16_t* logPath)
{
    Note(Trouble::SaveFailed, logPath, u"# Saving \"%s\" failed (%S): the file keeps what it held\n", path, true);
}

void CSaveFolder::NoteSaved()
{
    if (m_trouble == Trouble::SaveFailed) {
        m_trouble = Trouble::None;
        m_bTold = true;
    }
}

bool CSaveFolder::TakeNotice()
{
    const bool tell = !m_bTold;
    m_bTold = true;
    return tell;
}

// Logs a new trouble (every one with always) with the path and the system's reason (errno, none
// for 0) in format's two fields; the player has yet to be told.
void CSaveFolder::Note(Trouble trouble, const char16_t* logPath, const char16_t* format, const char16_t* path,
                       bool always)
{
    const int error = errno;
    if (trouble == m_trouble && !always)
        return;
    m_trouble = trouble;
    m_bTold = false;
    LogPrintf(logPath, 1, format, path, error ? strerror(error) : "");
}
