#include "platform/win32/SystemKeyboard.h"

#include <cstdlib>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "platform/win32/Win32Types.h"
#include "platform/win32/X11Display.h"

namespace {

Display* g_display = nullptr;
bool g_tried = false;

bool KeysymDown(Display* display, const char keys[32], KeySym symbol)
{
    KeyCode code = XKeysymToKeycode(display, symbol);
    return code != 0 && (keys[code / 8] & (1 << (code % 8))) != 0;
}

} // namespace

bool SystemModifierDown(int virtualKey)
{
    if (!g_tried) {
        g_tried = true;
        if (getenv("DISPLAY"))
            g_display = XOpenDisplay(nullptr);
        if (g_display)
            WatchX11Connection(g_display);
    }
    if (!g_display || X11DisplayLost())
        return false;
    KeySym left = 0;
    KeySym right = 0;
    switch (virtualKey) {
    case VK_SHIFT: left = XK_Shift_L; right = XK_Shift_R; break;
    case VK_LSHIFT: left = XK_Shift_L; break;
    case VK_RSHIFT: right = XK_Shift_R; break;
    case VK_CONTROL: left = XK_Control_L; right = XK_Control_R; break;
    case VK_LCONTROL: left = XK_Control_L; break;
    case VK_RCONTROL: right = XK_Control_R; break;
    case VK_MENU: left = XK_Alt_L; right = XK_Alt_R; break;
    case VK_LMENU: left = XK_Alt_L; break;
    case VK_RMENU: right = XK_Alt_R; break;
    default: return false;
    }
    char keys[32];
    XQueryKeymap(g_display, keys);
    return (left && KeysymDown(g_display, keys, left)) || (right && KeysymDown(g_display, keys, right));
}

void CloseSystemKeyboard()
{
    if (g_display)
        XCloseDisplay(g_display);
    g_display = nullptr;
    g_tried = false;
}
