#pragma once
#include "platform/win32/Win32Types.h"

// How a window's client area is shown on the display. A full-screen window of a display mode
// the display does not have covers the whole display, and the mode's screen is scaled to fit
// it with its aspect kept, centred between black bars (letter-boxed); the program still sees its
// client area in the mode's own pixels, and the pointer comes back through the same scale and
// offset. Every other window is shown as it is.
struct CScreenScaling {
    LONG clientWidth = 0;  // the client area as the program sees it
    LONG clientHeight = 0;
    int displayWidth = 0;  // the window on the display, in its pixels
    int displayHeight = 0;
    double scale = 1.0;  // display pixels per client pixel
    double offsetX = 0.0;  // where the client's (0, 0) lies in the display window
    double offsetY = 0.0;
    bool scaled = false;
    // The client's origin in the mode's screen and that screen's size: a pointer off the screen
    // (on a bar) stays on its edge, as a pointer cannot leave a screen.
    LONG clientLeft = 0;
    LONG clientTop = 0;
    LONG screenWidth = 0;
    LONG screenHeight = 0;

    // Nothing to scale: the client area is the display window.
    bool Identity() const;
    // A display-window pixel as a client point.
    POINT ToClient(int x, int y) const;
    // The display-window pixel that shows a client point (its centre).
    POINT ToDisplay(LONG x, LONG y) const;
    // The display-window pixels the client area covers, counted from the top.
    RECT Shown() const;
};

// A window that is not scaled: its client area of that size is the display window.
CScreenScaling UnscaledWindow(int width, int height);
// A full-screen window placed at bounds in a mode's screen of screenWidth x screenHeight, shown
// on a display window of displayWidth x displayHeight.
CScreenScaling ScaleScreen(const RECT& bounds, LONG screenWidth, LONG screenHeight, int displayWidth, int displayHeight);
