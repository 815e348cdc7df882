#include "platform/win32/DesktopState.h"
#include "platform/win32/MessageQueue.h"
#include "platform/win32/PlatformInternal.h"
#include "platform/win32/SdlVideo.h"
#include "platform/win32/PlatformHarness.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/WindowRegistry.h"

namespace {

// The longest single wait of GetMessageW and of WaitMessage.
constexpr int kMessageWaitMs = 10;
constexpr int kIdleWaitMs = 100;

// The character a key press makes by itself, for the keys that type no text.
char16_t ControlCharacter(WPARAM virtualKey)
{
    switch (virtualKey) {
    case VK_BACK: return 8;
    case VK_TAB: return 9;
    case VK_RETURN: return 13;
    case VK_ESCAPE: return 27;
    default: return 0;
    }
}

bool IsKeyMessage(UINT message)
{
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG made{window, message, wParam, lParam, GetTickCount(), {0, 0}};
    if (SdlVideoStarted())
        GetCursorPos(&made.pt);
    return made;
}

// Waits for input at most until the next timer and at most longestMs: what no SDL event
// announces (a request of another copy, a signal) is looked at after that.
void WaitForInput(int64_t timeoutMs, int longestMs)
{
    int wait = (timeoutMs < 0 || timeoutMs > longestMs) ? longestMs : static_cast<int>(timeoutMs);
    if (GetSleepHook() || !SdlVideoStarted())
        Sleep(static_cast<DWORD>(wait));
    else
        SDL_WaitEventTimeout(nullptr, wait);
}

} // namespace

BOOL PeekMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlag)
{
    if (!message)
        return FALSE;
    PumpPlatformEvents();
    return CMessageQueue::Get().Take(message, window, filterMin, filterMax, (removeFlag & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL GetMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax)
{
    if (!message)
        return FALSE;
    while (!PeekMessageW(message, window, filterMin, filterMax, PM_REMOVE))
        WaitForInput(CMessageQueue::Get().MillisecondsToNextTimer(), kMessageWaitMs);
    return message->message == WM_QUIT ? FALSE : TRUE;
}

BOOL WaitMessage()
{
    MSG message;
    while (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE))
        WaitForInput(CMessageQueue::Get().MillisecondsToNextTimer(), kIdleWaitMs);
    return TRUE;
}

void DiscardQueuedClicks()
{
    PumpPlatformEvents();
    CMessageQueue::Get().Discard(WM_LBUTTONDOWN, WM_MOUSEWHEEL);
}

BOOL TranslateMessage(const MSG* message)
{
    if (!message || !IsKeyMessage(message->message))
        return FALSE;
    std::vector<MSG> characters;
    bool system = message->message == WM_SYSKEYDOWN || message->message == WM_SYSKEYUP;
    if (message->message == WM_KEYDOWN) {
        if (char16_t control = ControlCharacter(message->wParam))
            characters.push_back(MakeMessage(message->hwnd, WM_CHAR, control, message->lParam));
    }
    for (char16_t unit : CMessageQueue::Get().TakeText())
        characters.push_back(MakeMessage(message->hwnd, system ? WM_SYSCHAR : WM_CHAR, unit, message->lParam));
    if (characters.empty())
        return FALSE;
    CMessageQueue::Get().PostFirst(characters);
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* message)
{
    if (!message)
        return 0;
    if (message->message == WM_TIMER && message->lParam) {
        reinterpret_cast<TIMERPROC>(message->lParam)(message->hwnd, WM_TIMER, message->wParam, GetTickCount());
        return 0;
    }
    return SendMessageW(message->hwnd, message->message, message->wParam, message->lParam);
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window) {
        CWindow* target = CWindowRegistry::Get().Find(window);
        if (!target || target->kind == WindowKind::Remote || target->kind == WindowKind::Desktop) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
    }
    CMessageQueue::Get().Post(MakeMessage(window, message, wParam, lParam));
    return TRUE;
}

void PostQuitMessage(int exitCode)
{
    CMessageQueue::Get().PostQuit(exitCode);
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWindow* target = CWindowRegistry::Get().Find(window);
    if (!target || !target->procedure) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return target->procedure(window, message, wParam, lParam);
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (static_cast<uintptr_t>(lParam) & KF_ALTDOWN_BIT))
            PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            SendMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETCURSOR: {
        CWindow* target = CWindowRegistry::Get().Find(window);
        CWindowClass* windowClass = target ? CWindowRegistry::Get().FindClass(target->className.c_str()) : nullptr;
        if (!windowClass || LOWORD(static_cast<uintptr_t>(lParam)) != HTCLIENT || !windowClass->cursor)
            return 0;
        SetCursor(windowClass->cursor);
        return TRUE;
    }
    default:
        return 0;
    }
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC procedure)
{
    if (window && !IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return CMessageQueue::Get().SetTimer(window, id, periodMs, procedure);
}

BOOL KillTimer(HWND window, UINT_PTR id)
{
    return CMessageQueue::Get().KillTimer(window, id) ? TRUE : FALSE;
}
