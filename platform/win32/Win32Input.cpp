#include "platform/win32/DesktopState.h"

#include <algorithm>

#include "platform/win32/KeyTranslation.h"
#include "platform/win32/PlatformInternal.h"
#include "platform/win32/SdlVideo.h"
#include "platform/win32/SystemKeyboard.h"
#include "platform/win32/PlatformHarness.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/WindowRegistry.h"

namespace {

HCURSOR const kArrowCursor = reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(0x7F00));
HICON const kIcon = reinterpret_cast<HICON>(static_cast<uintptr_t>(0x7F10));
HGDIOBJ const kBlackBrush = reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(0x7F20));

SDL_Cursor* g_arrow = nullptr;
bool g_nullCursor = false;

void UpdateCursorVisibility()
{
    if (!SdlVideoStarted())
        return;
    CDesktopState& desktop = CDesktopState::Get();
    SDL_ShowCursor((desktop.cursorCount >= 0 && !g_nullCursor) ? SDL_ENABLE : SDL_DISABLE);
}

// The sizes a mode may have: every one is shown scaled on the display that does not have it.
constexpr int kLargestModeSide = 16384;

bool ModeBitsKnown(DWORD bits)
{
    return bits == 16 || bits == 24 || bits == 32;
}

void FillMode(const SDL_DisplayMode& sdlMode, DEVMODEW* mode)
{
    mode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
    mode->dmPelsWidth = static_cast<DWORD>(sdlMode.w);
    mode->dmPelsHeight = static_cast<DWORD>(sdlMode.h);
    mode->dmBitsPerPel = SDL_BYTESPERPIXEL(sdlMode.format) * 8u;
    mode->dmDisplayFrequency = static_cast<DWORD>(sdlMode.refresh_rate);
}

CWindow* FocusWindow()
{
    CDesktopState& desktop = CDesktopState::Get();
    CWindow* window = CWindowRegistry::Get().Find(desktop.focus ? desktop.focus : desktop.active);
    return window && window->Sdl() ? window : nullptr;
}

// The scaled window that covers the display, if one does.
CWindow* ScaledWindow()
{
    CWindowRegistry& registry = CWindowRegistry::Get();
    for (HWND handle : registry.Handles()) {
        CWindow* window = registry.Find(handle);
        if (window->scaled && window->Sdl())
            return window;
    }
    return nullptr;
}

void ClearMouseRects()
{
    CWindowRegistry& registry = CWindowRegistry::Get();
    for (HWND handle : registry.Handles()) {
        CWindow* window = registry.Find(handle);
        if (window->Sdl())
            SDL_SetWindowMouseRect(window->Sdl(), nullptr);
    }
}

} // namespace

CDesktopState& CDesktopState::Get()
{
    static CDesktopState state;
    return state;
}

void CDesktopState::ForgetWindow(HWND window)
{
    if (focus == window)
        focus = nullptr;
    if (active == window)
        active = nullptr;
    if (capture == window)
        ReleaseCapture();
}

void CDesktopState::Reset()
{
    *this = CDesktopState();
    CKeyboardState::Get().Reset();
}

void ApplyDisplayMode(HWND handle)
{
    CWindow* window = CWindowRegistry::Get().Find(handle);
    if (!window || !window->Sdl() || !(window->style & WS_POPUP))
        return;
    bool scaled = CDesktopState::Get().modeSet;
    if (scaled == window->scaled)
        return;
    if (scaled) {
        GetWindowRect(handle, &window->bounds);
        window->scaled = true;
        // Over the display by itself too: without a window manager, full screen resizes nothing.
        SDL_Rect display{0, 0, 0, 0};
        int index = SDL_GetWindowDisplayIndex(window->Sdl());
        if (SDL_GetDisplayBounds(index < 0 ? 0 : index, &display) == 0) {
            SDL_SetWindowPosition(window->Sdl(), display.x, display.y);
            SDL_SetWindowSize(window->Sdl(), display.w, display.h);
        }
        SDL_SetWindowFullscreen(window->Sdl(), SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        window->scaled = false;
        SDL_SetWindowFullscreen(window->Sdl(), 0);
        const RECT& placed = window->bounds;
        SDL_SetWindowPosition(window->Sdl(), placed.left, placed.top);
        SDL_SetWindowSize(window->Sdl(), std::max<LONG>(placed.right - placed.left, 1),
                          std::max<LONG>(placed.bottom - placed.top, 1));
    }
    FollowWindowScaling(handle);
}

CScreenScaling WindowScaling(const CWindow& window)
{
    int width = 0;
    int height = 0;
    if (window.sdl)
        SDL_GetWindowSize(window.sdl, &width, &height);
    if (!window.scaled)
        return UnscaledWindow(width, height);
    const CDesktopState& desktop = CDesktopState::Get();
    return ScaleScreen(window.bounds, desktop.modeWidth, desktop.modeHeight, width, height);
}

int GetSystemMetrics(int index)
{
    if (index != SM_CXSCREEN && index != SM_CYSCREEN)
        return 0;
    CDesktopState& desktop = CDesktopState::Get();
    if (desktop.modeSet)
        return index == SM_CXSCREEN ? desktop.modeWidth : desktop.modeHeight;
    SDL_DisplayMode mode;
    if (!EnsureSdlVideo() || SDL_GetCurrentDisplayMode(0, &mode) != 0)
        return 0;
    return index == SM_CXSCREEN ? mode.w : mode.h;
}

LONG ChangeDisplaySettingsW(DEVMODEW* mode, DWORD)
{
    CDesktopState& desktop = CDesktopState::Get();
    if (!EnsureSdlVideo())
        return DISP_CHANGE_FAILED;
    if (mode) {
        SDL_DisplayMode current;
        if (SDL_GetCurrentDisplayMode(0, &current) != 0)
            return DISP_CHANGE_FAILED;
        int width = (mode->dmFields & DM_PELSWIDTH) ? static_cast<int>(mode->dmPelsWidth) : current.w;
        int height = (mode->dmFields & DM_PELSHEIGHT) ? static_cast<int>(mode->dmPelsHeight) : current.h;
        int bits = (mode->dmFields & DM_BITSPERPEL) ? static_cast<int>(mode->dmBitsPerPel) : 32;
        if (width < 1 || height < 1 || width > kLargestModeSide || height > kLargestModeSide || !ModeBitsKnown(bits))
            return DISP_CHANGE_BADMODE;
        // Setting the mode in force again changes nothing (no full-screen toggle, no focus churn).
        if (desktop.modeSet && desktop.modeWidth == width && desktop.modeHeight == height)
            return DISP_CHANGE_SUCCESSFUL;
        desktop.modeSet = true;
        desktop.modeWidth = width;
        desktop.modeHeight = height;
        desktop.modeBits = bits;
    } else {
        if (!desktop.modeSet)
            return DISP_CHANGE_SUCCESSFUL;
        desktop.modeSet = false;
    }
    CWindowRegistry& registry = CWindowRegistry::Get();
    for (HWND handle : registry.Handles())
        ApplyDisplayMode(handle);
    return DISP_CHANGE_SUCCESSFUL;
}

BOOL EnumDisplaySettingsW(const char16_t* device, DWORD modeIndex, DEVMODEW* mode)
{
    if (device || !mode || !EnsureSdlVideo())
        return FALSE;
    CDesktopState& desktop = CDesktopState::Get();
    SDL_DisplayMode sdlMode;
    int result = 0;
    if (modeIndex == ENUM_CURRENT_SETTINGS) {
        result = SDL_GetCurrentDisplayMode(0, &sdlMode);
        if (result == 0 && desktop.modeSet) {
            sdlMode.w = desktop.modeWidth;
            sdlMode.h = desktop.modeHeight;
        }
    } else if (modeIndex == ENUM_REGISTRY_SETTINGS) {
        result = SDL_GetDesktopDisplayMode(0, &sdlMode);
    } else {
        result = SDL_GetDisplayMode(0, static_cast<int>(modeIndex), &sdlMode);
    }
    if (result != 0)
        return FALSE;
    FillMode(sdlMode, mode);
    return TRUE;
}

HCURSOR LoadCursorW(HINSTANCE instance, const char16_t* name)
{
    return (!instance && name == IDC_ARROW) ? kArrowCursor : nullptr;
}

HICON LoadIconW(HINSTANCE, const char16_t* name)
{
    return name ? kIcon : nullptr;
}

HGDIOBJ GetStockObject(int object)
{
    return object == BLACK_BRUSH ? kBlackBrush : nullptr;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    CDesktopState& desktop = CDesktopState::Get();
    HCURSOR previous = desktop.cursor;
    desktop.cursor = cursor;
    g_nullCursor = cursor == nullptr;
    if (cursor == kArrowCursor && SdlVideoStarted()) {
        if (!g_arrow)
            g_arrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
        if (g_arrow)
            SDL_SetCursor(g_arrow);
    }
    UpdateCursorVisibility();
    return previous;
}

int ShowCursor(BOOL show)
{
    CDesktopState& desktop = CDesktopState::Get();
    desktop.cursorCount += show ? 1 : -1;
    UpdateCursorVisibility();
    return desktop.cursorCount;
}

BOOL ClipCursor(const RECT* rect)
{
    CDesktopState& desktop = CDesktopState::Get();
    if (SdlVideoStarted())
        ClearMouseRects();
    if (!rect) {
        desktop.clipped = false;
        return TRUE;
    }
    desktop.clipped = true;
    desktop.clip = *rect;
    CWindow* window = SdlVideoStarted() ? FocusWindow() : nullptr;
    if (window) {
        // Screen to client, then to the pixels of the SDL window that show it.
        POINT topLeft{rect->left, rect->top};
        POINT bottomRight{rect->right, rect->bottom};
        ScreenToClient(window->handle, &topLeft);
        ScreenToClient(window->handle, &bottomRight);
        CScreenScaling scaling = WindowScaling(*window);
        POINT from = scaling.ToDisplay(topLeft.x, topLeft.y);
        POINT to = scaling.ToDisplay(bottomRight.x - 1, bottomRight.y - 1);
        SDL_Rect area{from.x, from.y, to.x - from.x + 1, to.y - from.y + 1};
        SDL_SetWindowMouseRect(window->Sdl(), &area);
    }
    return TRUE;
}

BOOL GetClipCursor(RECT* rect)
{
    if (!rect)
        return FALSE;
    CDesktopState& desktop = CDesktopState::Get();
    *rect = desktop.clipped ? desktop.clip : RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return TRUE;
}

BOOL GetCursorPos(POINT* point)
{
    if (!point)
        return FALSE;
    *point = POINT{0, 0};
    if (!SdlVideoStarted())
        return FALSE;
    int x = 0;
    int y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    *point = POINT{x, y};
    // Over a scaled window, the pointer is where it is on the mode's screen.
    if (CWindow* window = ScaledWindow()) {
        int left = 0;
        int top = 0;
        SDL_GetWindowPosition(window->Sdl(), &left, &top);
        *point = WindowScaling(*window).ToClient(x - left, y - top);
        ClientToScreen(window->handle, point);
    }
    return TRUE;
}

HWND SetCapture(HWND window)
{
    CDesktopState& desktop = CDesktopState::Get();
    HWND previous = desktop.capture;
    CWindow* target = CWindowRegistry::Get().Find(window);
    if (!target || target->kind != WindowKind::TopLevel)
        return previous;
    desktop.capture = window;
    if (SdlVideoStarted())
        SDL_CaptureMouse(SDL_TRUE);
    return previous;
}

BOOL ReleaseCapture()
{
    CDesktopState& desktop = CDesktopState::Get();
    desktop.capture = nullptr;
    if (SdlVideoStarted())
        SDL_CaptureMouse(SDL_FALSE);
    return TRUE;
}

HWND GetCapture()
{
    return CDesktopState::Get().capture;
}

SHORT GetKeyState(int virtualKey)
{
    CKeyboardState& keys = CKeyboardState::Get();
    bool shiftKey = virtualKey == VK_SHIFT || virtualKey == VK_LSHIFT;
    if (shiftKey && IsShiftHeldAtStart() && !keys.Seen(VK_SHIFT))
        return static_cast<SHORT>(0x8000u);
    if (!keys.HasEvents() && SystemModifierDown(virtualKey))
        return static_cast<SHORT>(0x8000u);
    return keys.KeyState(virtualKey);
}

void ReleaseCursors()
{
    if (g_arrow)
        SDL_FreeCursor(g_arrow);
    g_arrow = nullptr;
    g_nullCursor = false;
    CloseSystemKeyboard();
}
