#include "platform/win32/X11Display.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdio>

#include "platform/win32/Win32Window.h"

namespace {

Display* g_watched = nullptr;
bool g_lost = false;
std::vector<unsigned long> g_vanished;
int g_errorsReported = 0;

constexpr int kErrorsReported = 8;
constexpr unsigned char kBadWindow = 3;
constexpr unsigned char kBadDrawable = 9;

// The window manager hints of the Motif protocol: which functions and decorations to offer.
constexpr unsigned long kHintFunctions = 1;
constexpr unsigned long kHintDecorations = 2;
constexpr unsigned long kFunctionResize = 2;
constexpr unsigned long kFunctionMove = 4;
constexpr unsigned long kFunctionMinimize = 8;
constexpr unsigned long kFunctionMaximize = 16;
constexpr unsigned long kFunctionClose = 32;
constexpr unsigned long kDecorBorder = 2;
constexpr unsigned long kDecorResizeHandle = 4;
constexpr unsigned long kDecorTitle = 8;
constexpr unsigned long kDecorMenu = 16;
constexpr unsigned long kDecorMinimize = 32;
constexpr unsigned long kDecorMaximize = 64;

struct CWindowManagerHints {
    unsigned long flags;
    unsigned long functions;
    unsigned long decorations;
    long inputMode;
    unsigned long status;
};

bool X11Info(SDL_Window* window, SDL_SysWMinfo* info)
{
    if (!window)
        return false;
    SDL_VERSION(&info->version);
    return SDL_GetWindowWMInfo(window, info) && info->subsystem == SDL_SYSWM_X11;
}

int OnXError(Display*, XErrorEvent* error)
{
    if (error->error_code == kBadWindow || error->error_code == kBadDrawable)
        g_vanished.push_back(error->resourceid);
    if (g_errorsReported < kErrorsReported) {
        ++g_errorsReported;
        fprintf(stderr, "# X error %u (request %u.%u) on 0x%lx\n", error->error_code, error->request_code,
                error->minor_code, error->resourceid);
    }
    return 0;
}

int OnXConnectionLost(Display*)
{
    if (!g_lost)
        fprintf(stderr, "# The connection to the X server was lost\n");
    g_lost = true;
    return 0;
}

// Called instead of exit() once the connection is lost: the program ends on its own terms.
void OnXConnectionExit(Display*, void*)
{
    g_lost = true;
}

// What a style bit lets the window manager offer: a function and the decoration for it.
struct CStyleOffer {
    DWORD style;
    unsigned long function;
    unsigned long decoration;
};

constexpr CStyleOffer kStyleOffers[] = {
    {WS_SYSMENU, kFunctionClose, kDecorMenu},
    {WS_MINIMIZEBOX, kFunctionMinimize, kDecorMinimize},
    {WS_MAXIMIZEBOX, kFunctionMaximize, kDecorMaximize},
    {WS_THICKFRAME, kFunctionResize, kDecorResizeHandle},
};

CWindowManagerHints HintsForStyle(DWORD style)
{
    CWindowManagerHints hints{kHintFunctions | kHintDecorations, kFunctionMove, kDecorBorder, 0, 0};
    if ((style & WS_CAPTION) == WS_CAPTION)
        hints.decorations |= kDecorTitle;
    for (const CStyleOffer& offer : kStyleOffers) {
        if (style & offer.style) {
            hints.functions |= offer.function;
            hints.decorations |= offer.decoration;
        }
    }
    return hints;
}

} // namespace

void WatchX11Display(SDL_Window* window)
{
    SDL_SysWMinfo info;
    if (g_watched || !X11Info(window, &info))
        return;
    g_watched = info.info.x11.display;
    WatchX11Connection(g_watched);
}

void WatchX11Connection(Display* display)
{
    XSetErrorHandler(OnXError);
    XSetIOErrorHandler(OnXConnectionLost);
    XSetIOErrorExitHandler(display, OnXConnectionExit, nullptr);
}

unsigned long X11WindowId(SDL_Window* window)
{
    SDL_SysWMinfo info;
    return X11Info(window, &info) ? info.info.x11.window : 0;
}

bool X11DisplayLost()
{
    return g_lost;
}

std::vector<unsigned long> TakeVanishedX11Windows()
{
    std::vector<unsigned long> vanished;
    vanished.swap(g_vanished);
    return vanished;
}

unsigned long DestroyedX11Window(const SDL_Event& event)
{
    if (event.type != SDL_SYSWMEVENT || !event.syswm.msg || event.syswm.msg->subsystem != SDL_SYSWM_X11)
        return 0;
    const XEvent& x = event.syswm.msg->msg.x11.event;
    return x.type == DestroyNotify ? x.xdestroywindow.window : 0;
}

void SetX11WindowFunctions(SDL_Window* window, DWORD style)
{
    SDL_SysWMinfo info;
    if ((style & WS_POPUP) || !X11Info(window, &info))
        return;
    Display* display = info.info.x11.display;
    Atom hintsAtom = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    CWindowManagerHints hints = HintsForStyle(style);
    XChangeProperty(display, info.info.x11.window, hintsAtom, hintsAtom, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&hints), sizeof(hints) / sizeof(long));
    XFlush(display);
}
