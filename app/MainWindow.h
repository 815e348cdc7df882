#pragma once
#include <cstdint>

#include "base/Result.h"
#include "platform/win32/Win32Types.h"

class CWorld;

// The main window's start-up record, owned by start-up.
struct CMainWindowInfo {
    HINSTANCE instance;
    HINSTANCE previousInstance;
    const char16_t* commandLine;
    int showCommand;
    HWND window;  // null until the window exists
};

extern const char16_t kMainWindowClass[];  // "Kvo Adventure"
extern const char16_t kWorldProperty[];    // "pWorld"

constexpr DWORD kWindowedStyle = 0x06CA0000;
constexpr DWORD kFullscreenStyle = 0x96080000;

// (0, 0, width, height) grown for the window style of that mode.
void AdjustClientRect(RECT* rect, uint16_t width, uint16_t height, uint8_t fullscreen);

// Creates the main window titled by the world and attaches the world to it as "pWorld".
// RES_FAIL, with no window left behind, when it cannot be made.
Result CreateMainWindow(CWorld* world, uint16_t width, uint16_t height, uint8_t fullscreen, uint8_t unused,
                        CMainWindowInfo* info);
// Centres a windowed window on the desktop by the configured size; a window larger than the
// desktop goes to its top-left corner. Nothing in fullscreen.
Result CenterMainWindow(CWorld* world, CMainWindowInfo* info);
// Shows and focuses the window; the world keeps the window info from now on.
Result ShowMainWindow(CWorld* world, CMainWindowInfo* info);
// Detaches the world and destroys the window; a window already closed counts as destroyed.
// RES_FAIL when the window could not be destroyed.
Result DestroyMainWindow(CMainWindowInfo* info);
// Re-creates the window and the renderer's device for the other mode; 0 when nothing changes.
Result ToggleFullscreen(CWorld* world, uint8_t fullscreen);

// The main window's procedure: frames on WM_TIMER, every message to the world.
LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
