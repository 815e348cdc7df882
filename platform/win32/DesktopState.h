#pragma once
#include "platform/win32/ScreenScaling.h"
#include "platform/win32/Win32Types.h"

struct CWindow;

// What the desktop knows about this program's windows: focus, capture, cursor and display mode.
struct CDesktopState {
    static CDesktopState& Get();

    HWND focus = nullptr;   // keyboard focus as the display server reported it
    HWND active = nullptr;  // last window the program showed, raised or focused
    HWND capture = nullptr;
    HCURSOR cursor = nullptr;
    int cursorCount = 0;
    bool clipped = false;
    RECT clip{};
    bool modeSet = false;  // a display mode set by ChangeDisplaySettingsW is in force
    int modeWidth = 0;
    int modeHeight = 0;
    int modeBits = 0;

    void ForgetWindow(HWND window);
    void Reset();
};

// Full screen for a window with the popup style while a display mode is in force: its SDL window
// covers the display, which shows the mode's screen scaled; else it is placed where the program
// put it.
void ApplyDisplayMode(HWND window);
// How the window's client area is shown on the display.
CScreenScaling WindowScaling(const CWindow& window);
