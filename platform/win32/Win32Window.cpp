#include "platform/win32/Win32Window.h"

#include "base/WideString.h"
#include "platform/win32/DesktopState.h"
#include "platform/dialog/DialogView.h"
#include "platform/win32/MessageQueue.h"
#include "platform/win32/PlatformInternal.h"
#include "platform/win32/SdlVideo.h"
#include "platform/win32/SessionEnd.h"
#include "platform/win32/SingleInstance.h"
#include "platform/win32/PlatformHarness.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/WindowRegistry.h"
#include "platform/win32/X11Display.h"

namespace {

HINSTANCE const kModule = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x400000));

CWindow* Lookup(HWND handle)
{
    CWindow* window = CWindowRegistry::Get().Find(handle);
    if (!window)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return window;
}

bool IsLocalTopLevel(const CWindow* window)
{
    return window && window->kind == WindowKind::TopLevel;
}

Uint32 SdlFlagsForStyle(DWORD style)
{
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL;
    if (style & WS_POPUP)
        flags |= SDL_WINDOW_BORDERLESS;
    else if (style & WS_THICKFRAME)
        flags |= SDL_WINDOW_RESIZABLE;
    return flags;
}

bool CreateSdlWindow(CWindow& window, const char16_t* title, int x, int y, int width, int height)
{
    if (!EnsureSdlVideo())
        return false;
    if (x == CW_USEDEFAULT || y == CW_USEDEFAULT) {
        x = SDL_WINDOWPOS_UNDEFINED;
        y = SDL_WINDOWPOS_UNDEFINED;
    }
    if (width == CW_USEDEFAULT || height == CW_USEDEFAULT) {
        width = 640;
        height = 480;
    }
    width = width < 1 ? 1 : width;
    height = height < 1 ? 1 : height;
    std::string utf8Title = Utf16ToUtf8(title ? title : u"");
    Uint32 flags = SdlFlagsForStyle(window.style);
    window.sdl = SDL_CreateWindow(utf8Title.c_str(), x, y, width, height, flags);
    if (!window.sdl)  // no OpenGL on this display: a window all the same
        window.sdl = SDL_CreateWindow(utf8Title.c_str(), x, y, width, height, flags & ~SDL_WINDOW_OPENGL);
    if (!window.sdl)
        return false;
    WatchX11Display(window.sdl);
    window.x11 = X11WindowId(window.sdl);
    SetX11WindowFunctions(window.sdl, window.style);
    return true;
}

void HandleInstanceRequest(const char16_t* className, InstanceRequest request, uint8_t argument)
{
    std::vector<HWND> windows = WindowsOfClass(className);
    if (windows.empty())
        return;
    HWND window = windows.front();
    if (request == InstanceRequest::Show) {
        ShowWindow(window, argument);
    } else if (request == InstanceRequest::Foreground) {
        if (IsIconic(window))
            ShowWindow(window, SW_RESTORE);
        SetForegroundWindow(window);
    }
}

HWND RemoteWindow(const char16_t* className)
{
    CWindowRegistry& registry = CWindowRegistry::Get();
    for (HWND handle : registry.Handles()) {
        CWindow* window = registry.Find(handle);
        if (window->kind == WindowKind::Remote && SameNameNoCase(window->className, className))
            return handle;
    }
    CWindow* remote = registry.Add(WindowKind::Remote);
    remote->className = className;
    remote->visible = true;
    return remote->handle;
}

void DestroyChildren(HWND parent)
{
    CWindowRegistry& registry = CWindowRegistry::Get();
    for (HWND handle : registry.Handles()) {
        CWindow* window = registry.Find(handle);
        if (window && window->parent == parent)
            DestroyWindow(handle);
    }
}

} // namespace

void PollPlatformRendezvous()
{
    PollInstanceRequests(HandleInstanceRequest);
}

HINSTANCE GetModuleHandleW(const char16_t* moduleName)
{
    return moduleName ? nullptr : kModule;
}

ATOM RegisterClassW(const WNDCLASSW* windowClass)
{
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    CWindowRegistry& registry = CWindowRegistry::Get();
    if (registry.FindClass(windowClass->lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    CWindowClass* added = registry.AddClass(windowClass->lpszClassName);
    added->procedure = windowClass->lpfnWndProc;
    added->instance = windowClass->hInstance;
    added->cursor = windowClass->hCursor;
    return static_cast<ATOM>(0xC000 + (registry.NextHandleValue() >> 4) % 0x3FFF);
}

BOOL UnregisterClassW(const char16_t* className, HINSTANCE)
{
    CWindowRegistry& registry = CWindowRegistry::Get();
    CWindowClass* windowClass = registry.FindClass(className);
    if (!windowClass) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return FALSE;
    }
    if (windowClass->windowCount > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    if (windowClass->rendezvousOpen)
        CloseInstanceRendezvous(windowClass->name.c_str());
    registry.RemoveClass(className);
    return TRUE;
}

HWND GetDesktopWindow()
{
    CWindowRegistry& registry = CWindowRegistry::Get();
    for (HWND handle : registry.Handles()) {
        if (registry.Find(handle)->kind == WindowKind::Desktop)
            return handle;
    }
    CWindow* desktop = registry.Add(WindowKind::Desktop);
    desktop->visible = true;
    return desktop->handle;
}

HWND CreateWindowExW(DWORD, const char16_t* className, const char16_t* windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU, HINSTANCE instance, void* param)
{
    CWindowRegistry& registry = CWindowRegistry::Get();
    CWindowClass* windowClass = registry.FindClass(className);
    if (!windowClass) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if ((style & WS_CHILD) || (parent && !IsWindow(parent))) {
        SetLastError(ERROR_NOT_SUPPORTED);  // top-level windows only; an owner is accepted
        return nullptr;
    }
    CWindow* window = registry.Add(WindowKind::TopLevel);
    window->className = windowClass->name;
    window->procedure = windowClass->procedure;
    window->style = style & ~WS_VISIBLE;
    window->text = windowName ? windowName : u"";
    if (!CreateSdlWindow(*window, windowName, x, y, width, height)) {
        registry.Remove(window->handle);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    HWND handle = window->handle;
    ++windowClass->windowCount;
    if (!windowClass->rendezvousOpen)
        windowClass->rendezvousOpen = OpenInstanceRendezvous(windowClass->name.c_str());
    ApplyDisplayMode(handle);

    CREATESTRUCTW create{param, instance, nullptr, nullptr, height, width, y, x, static_cast<LONG>(style), windowName, className, 0};
    if (SendMessageW(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (style & WS_VISIBLE)
        ShowWindow(handle, SW_SHOW);
    return IsWindow(handle) ? handle : nullptr;
}

BOOL DestroyWindow(HWND handle)
{
    CWindowRegistry& registry = CWindowRegistry::Get();
    CWindow* window = Lookup(handle);
    if (!window || window->kind == WindowKind::Desktop || window->kind == WindowKind::Remote || window->destroying)
        return FALSE;
    window->destroying = true;
    SendMessageW(handle, WM_DESTROY, 0, 0);
    DestroyChildren(handle);
    window = registry.Find(handle);
    CMessageQueue::Get().ForgetWindow(handle);
    CDesktopState::Get().ForgetWindow(handle);
    // After the display is lost, SDL would wait for its answers for ever: the window is left.
    if (window->sdl && !X11DisplayLost())
        SDL_DestroyWindow(window->sdl);
    if (window->kind == WindowKind::TopLevel) {
        if (CWindowClass* windowClass = registry.FindClass(window->className.c_str()))
            --windowClass->windowCount;
    }
    registry.Remove(handle);
    return TRUE;
}

BOOL IsWindow(HWND handle)
{
    return CWindowRegistry::Get().Find(handle) != nullptr;
}

BOOL IsWindowVisible(HWND handle)
{
    CWindow* window = CWindowRegistry::Get().Find(handle);
    return window && window->visible;
}

BOOL IsIconic(HWND handle)
{
    CWindow* window = CWindowRegistry::Get().Find(handle);
    if (!window)
        return FALSE;
    bool minimised = window->minimised || (window->sdl && (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_MINIMIZED));
    return minimised ? TRUE : FALSE;
}

BOOL ShowWindow(HWND handle, int command)
{
    CWindow* window = Lookup(handle);
    if (!window)
        return FALSE;
    BOOL wasVisible = window->visible;
    if (window->kind == WindowKind::Remote) {
        SendInstanceRequest(window->className.c_str(), InstanceRequest::Show, static_cast<uint8_t>(command));
        return wasVisible;
    }
    switch (command) {
    case SW_HIDE:
        window->visible = false;
        if (window->Sdl())
            SDL_HideWindow(window->Sdl());
        return wasVisible;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        window->visible = true;
        window->minimised = true;
        if (window->Sdl()) {
            SDL_ShowWindow(window->Sdl());
            SDL_MinimizeWindow(window->Sdl());
        }
        return wasVisible;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWMAXIMIZED:
        window->minimised = false;
        if (window->Sdl())
            SDL_RestoreWindow(window->Sdl());
        break;
    default:
        break;
    }
    window->visible = true;
    if (window->Sdl()) {
        SDL_ShowWindow(window->Sdl());
        if (command == SW_SHOWMAXIMIZED)
            SDL_MaximizeWindow(window->Sdl());
    }
    if (command != SW_SHOWNOACTIVATE && window->kind == WindowKind::TopLevel)
        CDesktopState::Get().active = handle;
    return wasVisible;
}

BOOL UpdateWindow(HWND handle)
{
    return IsWindow(handle);
}

BOOL EnableWindow(HWND handle, BOOL enable)
{
    CWindow* window = Lookup(handle);
    if (!window)
        return FALSE;
    BOOL wasDisabled = window->enabled ? FALSE : TRUE;
    window->enabled = enable != FALSE;
    NotifyDialogView(*window);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND handle)
{
    CWindow* window = CWindowRegistry::Get().Find(handle);
    return window && window->enabled;
}

HWND FindWindowW(const char16_t* className, const char16_t* windowName)
{
    CWindowRegistry& registry = CWindowRegistry::Get();
    for (HWND handle : registry.Handles()) {
        CWindow* window = registry.Find(handle);
        if (!IsLocalTopLevel(window))
            continue;
        if (className && !SameNameNoCase(window->className, className))
            continue;
        if (windowName && window->text != windowName)
            continue;
        return handle;
    }
    if (className && !windowName && SendInstanceRequest(className, InstanceRequest::Probe, 0))
        return RemoteWindow(className);
    return nullptr;
}

BOOL SetForegroundWindow(HWND handle)
{
    CWindow* window = Lookup(handle);
    if (!window)
        return FALSE;
    if (window->kind == WindowKind::Remote)
        return SendInstanceRequest(window->className.c_str(), InstanceRequest::Foreground, 0) ? TRUE : FALSE;
    if (window->Sdl())
        SDL_RaiseWindow(window->Sdl());
    CDesktopState::Get().active = handle;
    return TRUE;
}

HWND SetFocus(HWND handle)
{
    HWND previous = GetFocus();
    CWindow* window = handle ? Lookup(handle) : nullptr;
    if (!window || window->kind != WindowKind::TopLevel)
        return previous;
    CDesktopState& desktop = CDesktopState::Get();
    if (window->Sdl() && window->visible) {
        SDL_RaiseWindow(window->Sdl());
        SDL_SetWindowInputFocus(window->Sdl());
    }
    desktop.active = handle;
    if (desktop.focus)
        desktop.focus = handle;
    return previous;
}

HWND GetFocus()
{
    CDesktopState& desktop = CDesktopState::Get();
    if (IsFocusAssumed())
        return IsWindow(desktop.active) ? desktop.active : nullptr;
    return desktop.focus;
}

BOOL SetWindowTextW(HWND handle, const char16_t* text)
{
    CWindow* window = Lookup(handle);
    if (!window || window->kind == WindowKind::Remote)
        return FALSE;
    window->text = text ? text : u"";
    if (window->Sdl())
        SDL_SetWindowTitle(window->Sdl(), Utf16ToUtf8(window->text).c_str());
    NotifyDialogView(*window);
    return TRUE;
}

int GetWindowTextW(HWND handle, char16_t* buffer, int capacity)
{
    CWindow* window = Lookup(handle);
    if (!buffer || capacity <= 0)
        return 0;
    buffer[0] = 0;
    if (!window)
        return 0;
    return static_cast<int>(WStrCopy(buffer, static_cast<size_t>(capacity), WStringView(window->text)));
}

int GetWindowTextLengthW(HWND handle)
{
    CWindow* window = Lookup(handle);
    return window ? static_cast<int>(window->text.size()) : 0;
}

BOOL AdjustWindowRect(RECT* rect, DWORD, BOOL)
{
    return rect ? TRUE : FALSE;
}

BOOL GetWindowRect(HWND handle, RECT* rect)
{
    CWindow* window = Lookup(handle);
    if (!window || !rect)
        return FALSE;
    if (window->kind == WindowKind::Desktop) {
        *rect = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return TRUE;
    }
    if (!window->sdl || window->scaled) {
        *rect = window->bounds;
        return TRUE;
    }
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    SDL_GetWindowPosition(window->sdl, &x, &y);
    SDL_GetWindowSize(window->sdl, &width, &height);
    *rect = RECT{x, y, x + width, y + height};
    return TRUE;
}

BOOL GetClientRect(HWND handle, RECT* rect)
{
    RECT placed;
    if (!rect || !GetWindowRect(handle, &placed))
        return FALSE;
    *rect = RECT{0, 0, placed.right - placed.left, placed.bottom - placed.top};
    return TRUE;
}

BOOL SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    CWindow* window = Lookup(handle);
    if (!window || window->kind == WindowKind::Remote || window->kind == WindowKind::Desktop)
        return FALSE;
    if (window->Sdl() && !window->scaled) {
        if (!(flags & SWP_NOMOVE))
            SDL_SetWindowPosition(window->Sdl(), x, y);
        if (!(flags & SWP_NOSIZE))
            SDL_SetWindowSize(window->Sdl(), width < 1 ? 1 : width, height < 1 ? 1 : height);
        if (!(flags & SWP_NOZORDER) && (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST))
            SDL_SetWindowAlwaysOnTop(window->Sdl(), insertAfter == HWND_TOPMOST ? SDL_TRUE : SDL_FALSE);
    } else {
        if (!(flags & SWP_NOMOVE)) {
            window->bounds.right += x - window->bounds.left;
            window->bounds.bottom += y - window->bounds.top;
            window->bounds.left = x;
            window->bounds.top = y;
        }
        if (!(flags & SWP_NOSIZE)) {
            window->bounds.right = window->bounds.left + width;
            window->bounds.bottom = window->bounds.top + height;
        }
    }
    if (flags & SWP_SHOWWINDOW)
        ShowWindow(handle, (flags & SWP_NOACTIVATE) ? SW_SHOWNOACTIVATE : SW_SHOW);
    if (flags & SWP_HIDEWINDOW)
        ShowWindow(handle, SW_HIDE);
    return TRUE;
}

BOOL ClientToScreen(HWND handle, POINT* point)
{
    RECT placed;
    if (!point || !GetWindowRect(handle, &placed))
        return FALSE;
    point->x += placed.left;
    point->y += placed.top;
    return TRUE;
}

BOOL ScreenToClient(HWND handle, POINT* point)
{
    RECT placed;
    if (!point || !GetWindowRect(handle, &placed))
        return FALSE;
    point->x -= placed.left;
    point->y -= placed.top;
    return TRUE;
}

BOOL SetPropW(HWND handle, const char16_t* name, HANDLE value)
{
    CWindow* window = Lookup(handle);
    if (!window || !name)
        return FALSE;
    for (auto& property : window->properties) {
        if (SameNameNoCase(property.first, name)) {
            property.second = value;
            return TRUE;
        }
    }
    window->properties.emplace_back(name, value);
    return TRUE;
}

HANDLE GetPropW(HWND handle, const char16_t* name)
{
    CWindow* window = CWindowRegistry::Get().Find(handle);
    if (!window || !name)
        return nullptr;
    for (const auto& property : window->properties) {
        if (SameNameNoCase(property.first, name))
            return property.second;
    }
    return nullptr;
}

HANDLE RemovePropW(HWND handle, const char16_t* name)
{
    CWindow* window = CWindowRegistry::Get().Find(handle);
    if (!window || !name)
        return nullptr;
    for (auto it = window->properties.begin(); it != window->properties.end(); ++it) {
        if (SameNameNoCase(it->first, name)) {
            HANDLE value = it->second;
            window->properties.erase(it);
            return value;
        }
    }
    return nullptr;
}

void PlatformShutdown()
{
    CWindowRegistry& registry = CWindowRegistry::Get();
    for (HWND handle : registry.Handles()) {
        CWindow* window = registry.Find(handle);
        if (window && window->kind == WindowKind::TopLevel)
            DestroyWindow(handle);
    }
    for (CWindowClass* windowClass : registry.Classes()) {
        if (windowClass->rendezvousOpen)
            CloseInstanceRendezvous(windowClass->name.c_str());
    }
    ReleaseGlContexts();
    ReleaseCursors();
    registry.Clear();
    CMessageQueue::Get().Clear();
    CDesktopState::Get().Reset();
    ResetSessionEnd();
}
