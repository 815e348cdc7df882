#include "platform/win32/DesktopState.h"
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

bool ClosestMode(int width, int height, SDL_DisplayMode* closest)
{
    SDL_DisplayMode wanted{0, width, height, 0, nullptr};
    return SDL_GetClosestDisplayMode(0, &wanted, closest) && closest->w == width && closest->h == height;
}

void FillMode(const SDL_DisplayMode& sdlMode, DEVMODEW* mode)
{
    mode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
    mode->dmPelsWidth = static_cast<DWORD>(sdlMode.w);
    mode->dmPelsHeight = static_cast<DWORD>(sdlMode.h);
    mode->dmBitsPerPel = SDL_BYTESPERPIXEL(sdlMode.format) * 8u;
    mode->dmDisplayFrequency = static_cast<DWORD>(sdlMode.refresh_rate);
}

SDL_Window* FocusSdlWindow()
{
    CWindowRegistry& registry = CWindowRegistry::Get();
    CDesktopState& desktop = CDesktopState::Get();
    CWindow* window = registry.Find(desktop.focus ? desktop.focus : desktop.active);
    return window ? window->Sdl() : nullptr;
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
    CDesktopState& desktop = CDesktopState::Get();
    SDL_DisplayMode mode;
    if (desktop.modeSet && ClosestMode(desktop.modeWidth, desktop.modeHeight, &mode)) {
        SDL_SetWindowDisplayMode(window->sdl, &mode);
        SDL_SetWindowFullscreen(window->sdl, SDL_WINDOW_FULLSCREEN);
    } else {
        SDL_SetWindowFullscreen(window->sdl, 0);
    }
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
        SDL_DisplayMode closest;
        if (!ClosestMode(width, height, &closest))
            return DISP_CHANGE_BADMODE;
        // Setting the mode in force again changes nothing (no full-screen toggle, no focus churn).
        if (desktop.modeSet && desktop.modeWidth == width && desktop.modeHeight == height)
            return DISP_CHANGE_SUCCESSFUL;
        desktop.modeSet = true;
        desktop.modeWidth = width;
        desktop.modeHeight = height;
        desktop.modeBits = (mode->dmFields & DM_BITSPERPEL) ? static_cast<int>(mode->dmBitsPerPel) : 32;
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
    SDL_Window* window = SdlVideoStarted() ? FocusSdlWindow() : nullptr;
    if (window) {
        int x = 0;
        int y = 0;
        SDL_GetWindowPosition(window, &x, &y);
        SDL_Rect area{rect->left - x, rect->top - y, rect->right - rect->left, rect->bottom - rect->top};
        SDL_SetWindowMouseRect(window, &area);
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
