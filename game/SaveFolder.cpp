#include "game/SaveFolder.h"

#include "base/StringHelpers.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
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
    if (length == 0 || length >= kMaxPathUnits)
        return RES_FAIL;
    char16_t prefix[kMaxPathUnits];
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
        game->GetString(u"PATH", u"APP_NAME", u"undefined", m_GameData.m_szAppName, kAppNameUnits);
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
    const char16_t* app = m_GameData.m_szAppName;
    char16_t appData[kMaxPathUnits];
    DWORD length = GetEnvironmentVariableW(u"APPDATA", appData, kMaxPathUnits);
    if (!app[0] || length == 0 || length >= kMaxPathUnits)
        return RES_FAIL;
    char16_t folder[kMaxPathUnits];
    if (!Fits(WFormat(folder, kMaxPathUnits, u"%s/%s/%s", appData, kSaveFolderName, app), kMaxPathUnits) ||
        Failed(CreateDirectoryTree(folder)) || !Fits(WFormat(out, capacity, u"%s/%s.v1.%s", folder, app, name), capacity))
        return RES_FAIL;
    char16_t old[kMaxPathUnits];
    if (!noMove && Fits(WFormat(old, kMaxPathUnits, u"%s/%s.%s", folder, app, name), kMaxPathUnits))
        MoveFileW(old, out);
    return RES_OK;
}
