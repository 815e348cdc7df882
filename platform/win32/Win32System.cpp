#include "platform/win32/Win32System.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "base/Clock.h"
#include "base/FileSystem.h"
#include "base/WideString.h"
#include "platform/win32/PlatformHarness.h"

namespace {

thread_local DWORD g_lastError = ERROR_SUCCESS;

// $HOME when set, else the user's home folder in the password database (as the XDG rules fall
// back); "" when neither names one.
std::string HomeFolder()
{
    const char* home = getenv("HOME");
    if (home && *home)
        return home;
    struct passwd entry;
    struct passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    return "";
}

DWORD ErrorFromErrno(int error)
{
    switch (error) {
    case EEXIST:
    case ENOTEMPTY: return ERROR_ALREADY_EXISTS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS: return ERROR_ACCESS_DENIED;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_INVALID_PARAMETER;
    }
}

// A path of the program's own spelling on this file system; a path ending in a separator
// keeps none, so "a\\b\\" names the folder "a/b".
std::string HostPath(const char16_t* path)
{
    std::string resolved = ResolvePath(path);
    while (resolved.size() > 1 && resolved.back() == '/')
        resolved.pop_back();
    return resolved;
}

struct LanguageRow {
    const char* code;
    WORD primary;
};

// Primary language ids, and the sublanguage ids of the territories that have their own.
constexpr LanguageRow kLanguages[] = {
    {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06}, {"de", 0x07}, {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B},
    {"fr", 0x0C}, {"hu", 0x0E}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12}, {"nl", 0x13}, {"nb", 0x14}, {"no", 0x14},
    {"pl", 0x15}, {"pt", 0x16}, {"ro", 0x18}, {"ru", 0x19}, {"sv", 0x1D}, {"tr", 0x1F}, {"uk", 0x22},
};

struct TerritoryRow {
    WORD primary;
    const char* territory;
    WORD sub;
};

constexpr TerritoryRow kTerritories[] = {
    {0x04, "TW", 1}, {0x04, "CN", 2}, {0x04, "HK", 3}, {0x04, "SG", 4}, {0x04, "MO", 5},
    {0x07, "DE", 1}, {0x07, "CH", 2}, {0x07, "AT", 3}, {0x07, "LU", 4}, {0x07, "LI", 5},
    {0x09, "US", 1}, {0x09, "GB", 2}, {0x09, "AU", 3}, {0x09, "CA", 4}, {0x09, "NZ", 5}, {0x09, "IE", 6},
    {0x0A, "ES", 3}, {0x0A, "MX", 2}, {0x0A, "GT", 4}, {0x0A, "CR", 5}, {0x0A, "PA", 6}, {0x0A, "DO", 7},
    {0x0A, "VE", 8}, {0x0A, "CO", 9}, {0x0A, "PE", 10}, {0x0A, "AR", 11}, {0x0A, "EC", 12}, {0x0A, "CL", 13},
    {0x0A, "UY", 14}, {0x0A, "PY", 15}, {0x0A, "BO", 16}, {0x0A, "SV", 17}, {0x0A, "HN", 18}, {0x0A, "NI", 19},
    {0x0A, "PR", 20}, {0x0A, "US", 21},
    {0x0C, "FR", 1}, {0x0C, "BE", 2}, {0x0C, "CA", 3}, {0x0C, "CH", 4}, {0x0C, "LU", 5},
    {0x10, "IT", 1}, {0x10, "CH", 2},
    {0x13, "NL", 1}, {0x13, "BE", 2},
    {0x16, "BR", 1}, {0x16, "PT", 2},
    {0x1D, "SE", 1}, {0x1D, "FI", 2},
};

// The sublanguage when the territory is not listed: the language's main country.
WORD DefaultSub(WORD primary)
{
    switch (primary) {
    case 0x04: return 2;  // Chinese: mainland
    case 0x0A: return 3;  // Spanish: Spain
    default: return 1;
    }
}

const char* LocaleFromEnvironment()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = getenv(name);
        if (value && *value)
            return value;
    }
    return nullptr;
}

} // namespace

DWORD GetLastError()
{
    return g_lastError;
}

void SetLastError(DWORD error)
{
    g_lastError = error;
}

void Sleep(DWORD milliseconds)
{
    if (SleepHook hook = GetSleepHook()) {
        hook(milliseconds);
        return;
    }
    timespec wait{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}

DWORD GetTickCount()
{
    return TickCountMs();
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* counter)
{
    if (!counter)
        return FALSE;
    counter->QuadPart = static_cast<int64_t>(ClockNanoseconds());
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    if (!frequency)
        return FALSE;
    frequency->QuadPart = 1000000000ll;
    return TRUE;
}

void GetLocalTime(SYSTEMTIME* time)
{
    if (!time)
        return;
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    tm local;
    localtime_r(&now.tv_sec, &local);
    time->wYear = static_cast<WORD>(local.tm_year + 1900);
    time->wMonth = static_cast<WORD>(local.tm_mon + 1);
    time->wDayOfWeek = static_cast<WORD>(local.tm_wday);
    time->wDay = static_cast<WORD>(local.tm_mday);
    time->wHour = static_cast<WORD>(local.tm_hour);
    time->wMinute = static_cast<WORD>(local.tm_min);
    time->wSecond = static_cast<WORD>(local.tm_sec > 59 ? 59 : local.tm_sec);
    time->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000L);
}

LANGID LangIdFromLocale(const char* locale)
{
    const LANGID english = MAKELANGID(0x09, 1);
    if (!locale)
        return english;
    std::string text(locale);
    size_t end = text.find_first_of(".@");
    if (end != std::string::npos)
        text.resize(end);
    std::string language = text.substr(0, text.find('_'));
    std::string territory = text.find('_') == std::string::npos ? "" : text.substr(text.find('_') + 1);
    for (const LanguageRow& row : kLanguages) {
        if (language != row.code)
            continue;
        for (const TerritoryRow& place : kTerritories) {
            if (place.primary == row.primary && territory == place.territory)
                return MAKELANGID(row.primary, place.sub);
        }
        return MAKELANGID(row.primary, DefaultSub(row.primary));
    }
    return english;
}

LANGID GetSystemDefaultLangID()
{
    return LangIdFromLocale(LocaleFromEnvironment());
}

DWORD GetEnvironmentVariableW(const char16_t* name, char16_t* buffer, DWORD capacity)
{
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string key = Utf16ToUtf8(name);
    const char* value = getenv(key.c_str());
    std::string found;
    if (value) {
        found = value;
    } else if (key == "APPDATA") {
        const char* dataHome = getenv("XDG_DATA_HOME");
        const std::string home = HomeFolder();
        if (dataHome && *dataHome == '/')
            found = dataHome;
        else if (!home.empty())
            found = home + "/.local/share";
    }
    if (found.empty() && !value) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    WString wide = Utf8ToUtf16(found);
    if (!buffer || capacity <= wide.size())
        return static_cast<DWORD>(wide.size() + 1);
    return static_cast<DWORD>(WStrCopy(buffer, capacity, WStringView(wide)));
}

BOOL CreateDirectoryW(const char16_t* path, SECURITY_ATTRIBUTES*)
{
    if (!path || !*path) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    std::string target = HostPath(path);
    if (mkdir(target.c_str(), 0777) == 0)
        return TRUE;
    SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
    return FALSE;
}

BOOL MoveFileW(const char16_t* existingPath, const char16_t* newPath)
{
    if (!existingPath || !newPath || !*existingPath || !*newPath) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string from = HostPath(existingPath);
    std::string to = HostPath(newPath);
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return TRUE;
    if (errno == EINVAL || errno == ENOSYS) {
        // A file system without the no-replace rename: a hard link refuses an existing target.
        struct stat info;
        if (lstat(from.c_str(), &info) == 0 && !S_ISDIR(info.st_mode) && link(from.c_str(), to.c_str()) == 0) {
            unlink(from.c_str());
            return TRUE;
        }
    }
    SetLastError(ErrorFromErrno(errno));
    return FALSE;
}
