#include "platform/win32/SessionEnd.h"

#include <csignal>

#include "platform/win32/Win32Window.h"
#include "platform/win32/WindowRegistry.h"

namespace {

volatile sig_atomic_t g_signal = 0;
CSessionEnd g_end{SessionEndCause::Running, 0};

void OnSessionSignal(int number)
{
    if (g_signal == 0)
        g_signal = number;
}

void AskTopLevelWindowsToClose()
{
    CWindowRegistry& registry = CWindowRegistry::Get();
    bool asked = false;
    for (HWND handle : registry.Handles()) {
        CWindow* window = registry.Find(handle);
        if (window && window->kind == WindowKind::TopLevel && !window->destroying)
            asked = PostMessageW(handle, WM_CLOSE, 0, 0) || asked;
    }
    if (!asked)
        PostQuitMessage(0);
}

} // namespace

void CatchSessionEndSignals()
{
    struct sigaction action {};
    action.sa_handler = OnSessionSignal;
    action.sa_flags = SA_RESTART;  // reads and writes under way go on
    sigemptyset(&action.sa_mask);
    for (int number : {SIGTERM, SIGINT, SIGHUP})
        sigaction(number, &action, nullptr);
}

CSessionEnd GetSessionEnd()
{
    return g_end;
}

void EndSession(SessionEndCause cause)
{
    if (g_end.cause != SessionEndCause::Running || cause == SessionEndCause::Running)
        return;
    g_end = CSessionEnd{cause, cause == SessionEndCause::Signal ? static_cast<int>(g_signal) : 0};
    AskTopLevelWindowsToClose();
}

void DeliverSignalledSessionEnd()
{
    if (g_signal != 0)
        EndSession(SessionEndCause::Signal);
}

void ResetSessionEnd()
{
    g_end = CSessionEnd{SessionEndCause::Running, 0};
    g_signal = 0;
}
