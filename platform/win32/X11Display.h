#pragma once
#include <vector>

#include "platform/win32/Win32Types.h"

struct SDL_Window;
union SDL_Event;
struct _XDisplay;

// What SDL leaves to its program on an X display: X errors, a lost connection, windows that
// another client destroyed, and the functions the window manager offers. Under any other video
// driver these do nothing and answer 0 or false.

// Takes over the error handling of the window's display, once: errors are noted (the first ones
// also on standard error) and never end the process, and a lost connection is noted instead of
// ending it.
void WatchX11Display(SDL_Window* window);
// A connection of the platform's own to the same server: losing it ends nothing either.
void WatchX11Connection(_XDisplay* display);
// The window's X id; 0 when it is no X window.
unsigned long X11WindowId(SDL_Window* window);
// True once the connection to the X server broke: from then on no X call may be made.
bool X11DisplayLost();
// The X ids that errors named as no window or drawable since the last call.
std::vector<unsigned long> TakeVanishedX11Windows();
// The window a DestroyNotify event (an SDL_SYSWMEVENT) names; 0 for any other event.
unsigned long DestroyedX11Window(const SDL_Event& event);
// Offers the window manager only what a window of the style can do: moving, closing with
// WS_SYSMENU, minimising with WS_MINIMIZEBOX, maximising with WS_MAXIMIZEBOX and resizing with
// WS_THICKFRAME. Borderless (WS_POPUP) windows keep SDL's own hints.
void SetX11WindowFunctions(SDL_Window* window, DWORD style);
