#pragma once
#include "platform/win32/Win32Types.h"

// System services in the Windows shape: errors, time, language, environment, folders, file moves
// and the shell's "open".

DWORD GetLastError();
void SetLastError(DWORD error);

// ---- Time -----------------------------------------------------------------------------------
// Sleep, GetTickCount and the performance counter run on base/Clock.h (its clock source is
// injectable). The counter counts nanoseconds.
void Sleep(DWORD milliseconds);
DWORD GetTickCount();
BOOL QueryPerformanceCounter(LARGE_INTEGER* counter);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;  // 1..12
    WORD wDayOfWeek;  // 0 = Sunday
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

void GetLocalTime(SYSTEMTIME* time);

// ---- Language -------------------------------------------------------------------------------
constexpr LANGID MAKELANGID(WORD primary, WORD sub) { return static_cast<LANGID>((sub << 10) | primary); }

// From the first of LC_ALL, LC_MESSAGES and LANG that is set ("fr_CA.UTF-8" gives 0x0C0C);
// English (United States, 0x0409) for "C", "POSIX", nothing or a language not in the table.
LANGID GetSystemDefaultLangID();
// The same mapping for one locale text.
LANGID LangIdFromLocale(const char* locale);

// ---- Environment and folders ----------------------------------------------------------------
// The variable's value; for "APPDATA" when it is not set, the XDG data home
// ($XDG_DATA_HOME, else $HOME/.local/share, the password database's home without HOME). Result: the length copied, or the size needed
// (terminator included) when the buffer is too small, or 0 with ERROR_ENVVAR_NOT_FOUND.
DWORD GetEnvironmentVariableW(const char16_t* name, char16_t* buffer, DWORD capacity);

struct SECURITY_ATTRIBUTES;

// Paths may use '\' or '/' and any letter case (base/FileSystem.h). An existing folder fails
// with ERROR_ALREADY_EXISTS, a missing parent with ERROR_PATH_NOT_FOUND.
BOOL CreateDirectoryW(const char16_t* path, SECURITY_ATTRIBUTES* attributes);
// Renames a file or folder; never replaces an existing target (ERROR_ALREADY_EXISTS).
BOOL MoveFileW(const char16_t* existingPath, const char16_t* newPath);

// ---- Shell ----------------------------------------------------------------------------------
constexpr DWORD SEE_MASK_NOCLOSEPROCESS = 0x00000040;
constexpr DWORD SEE_MASK_FLAG_NO_UI = 0x00000400;

struct SHELLEXECUTEINFOW {
    DWORD cbSize;
    DWORD fMask;
    HWND hwnd;
    const char16_t* lpVerb;
    const char16_t* lpFile;
    const char16_t* lpParameters;
    const char16_t* lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    HANDLE hProcess;  // always null here: the child is reaped by the platform
};

// The verb "open" (or none) on a URL or a document: starts xdg-open (or the test launcher)
// directly with the target as its one argument, no shell in between. Parameters are not passed.
BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info);
// Reaps finished children started by ShellExecuteExW; with wait, waits for all of them.
// Returns how many are still running. The message queue calls it without waiting.
int ReapShellChildren(bool wait);
