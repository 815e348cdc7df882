#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>
#include <vector>

#include "base/FileSystem.h"
#include "base/StringHelpers.h"
#include "base/WideString.h"
#include "platform/win32/PlatformHarness.h"
#include "platform/win32/Win32System.h"

extern char** environ;

namespace {

std::vector<pid_t> g_children;

// "scheme:" at the start (two letters at least, so a drive letter is no scheme).
bool IsUrl(const std::string& target)
{
    size_t colon = target.find(':');
    if (colon == std::string::npos || colon < 2)
        return false;
    for (size_t i = 0; i < colon; ++i) {
        char c = target[i];
        bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
        if (!allowed)
            return false;
    }
    return true;
}

} // namespace

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info)
{
    if (!info || !info->lpFile || !*info->lpFile) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->hProcess = nullptr;
    if (info->lpVerb && *info->lpVerb && !EqualNoCase(info->lpVerb, u"open")) {
        SetLastError(ERROR_NO_ASSOCIATION);
        return FALSE;
    }
    std::string target = Utf16ToUtf8(info->lpFile);
    if (!IsUrl(target))
        target = ResolvePath(info->lpFile);
    const char* launcher = GetShellLauncher();
    std::string program = launcher ? launcher : "xdg-open";
    // A target starting with '-' must not read as an option of the launcher.
    if (!target.empty() && target[0] == '-')
        target = "./" + target;
    char* argv[] = {program.data(), target.data(), nullptr};
    pid_t child = 0;
    int error = posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv, environ);
    if (error != 0) {
        SetLastError(error == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED);
        info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(error == ENOENT ? 2 : 5));
        return FALSE;
    }
    g_children.push_back(child);
    info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(33));
    return TRUE;
}

int ReapShellChildren(bool wait)
{
    for (auto it = g_children.begin(); it != g_children.end();) {
        int status = 0;
        pid_t done = waitpid(*it, &status, wait ? 0 : WNOHANG);
        if (done == *it || (done < 0 && errno != EINTR))
            it = g_children.erase(it);
        else if (!wait)
            ++it;
    }
    return static_cast<int>(g_children.size());
}
