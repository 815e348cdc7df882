#include "base/WideString.h"
#include "platform/win32/DesktopState.h"
#include "platform/win32/KeyTranslation.h"
#include "platform/win32/MessageQueue.h"
#include "platform/win32/PlatformInternal.h"
#include "platform/win32/SdlVideo.h"
#include "platform/win32/SessionEnd.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/WindowRegistry.h"
#include "platform/win32/X11Display.h"

namespace {

// Set while Alt is held once another key went down with it: its release is then a plain key-up.
bool g_altChord = false;

// The window an event without a known window goes to: the capture, else the focus.
HWND InputTarget(uint32_t windowId)
{
    if (CWindow* window = CWindowRegistry::Get().FindBySdlId(windowId))
        return window->handle;
    CDesktopState& desktop = CDesktopState::Get();
    if (desktop.capture)
        return desktop.capture;
    if (HWND focus = GetFocus())
        return focus;
    return IsWindow(desktop.active) ? desktop.active : nullptr;
}

HWND MouseTarget(uint32_t windowId)
{
    CDesktopState& desktop = CDesktopState::Get();
    return desktop.capture ? desktop.capture : InputTarget(windowId);
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window)
        CMessageQueue::Get().Post(MSG{window, message, wParam, lParam, GetTickCount(), {0, 0}});
}

LPARAM PackPoint(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(static_cast<SHORT>(y)));
}

// An event position in its own window's display pixels, as client coordinates of that window.
POINT ToClient(CWindow* source, int x, int y)
{
    return source ? WindowScaling(*source).ToClient(x, y) : POINT{x, y};
}

// Client coordinates of an event position in its own window, moved to the target window.
POINT ToTarget(HWND target, uint32_t windowId, int x, int y)
{
    CWindow* source = CWindowRegistry::Get().FindBySdlId(windowId);
    POINT point = ToClient(source, x, y);
    if (source && source->handle != target) {
        ClientToScreen(source->handle, &point);
        ScreenToClient(target, &point);
    }
    return point;
}

WPARAM ModifierFlags()
{
    CKeyboardState& keys = CKeyboardState::Get();
    WPARAM flags = 0;
    if (keys.IsDown(VK_SHIFT))
        flags |= MK_SHIFT;
    if (keys.IsDown(VK_CONTROL))
        flags |= MK_CONTROL;
    return flags;
}

WPARAM ButtonFlags(uint32_t sdlButtons)
{
    WPARAM flags = ModifierFlags();
    if (sdlButtons & SDL_BUTTON_LMASK)
        flags |= MK_LBUTTON;
    if (sdlButtons & SDL_BUTTON_MMASK)
        flags |= MK_MBUTTON;
    if (sdlButtons & SDL_BUTTON_RMASK)
        flags |= MK_RBUTTON;
    return flags;
}

WPARAM HeldButtonFlags()
{
    CKeyboardState& keys = CKeyboardState::Get();
    WPARAM flags = ModifierFlags();
    if (keys.IsDown(VK_LBUTTON))
        flags |= MK_LBUTTON;
    if (keys.IsDown(VK_MBUTTON))
        flags |= MK_MBUTTON;
    if (keys.IsDown(VK_RBUTTON))
        flags |= MK_RBUTTON;
    return flags;
}

// The side-specific key whose state a modifier event changes.
int StateKey(SDL_Scancode scancode, int virtualKey)
{
    switch (scancode) {
    case SDL_SCANCODE_LSHIFT: return VK_LSHIFT;
    case SDL_SCANCODE_RSHIFT: return VK_RSHIFT;
    case SDL_SCANCODE_LCTRL: return VK_LCONTROL;
    case SDL_SCANCODE_RCTRL: return VK_RCONTROL;
    case SDL_SCANCODE_LALT: return VK_LMENU;
    case SDL_SCANCODE_RALT: return VK_RMENU;
    default: return virtualKey;
    }
}

void OnKey(const SDL_KeyboardEvent& event)
{
    CKeyCode key = TranslateSdlKey(event.keysym.scancode, event.keysym.sym);
    if (!key.virtualKey)
        return;
    bool down = event.type == SDL_KEYDOWN;
    bool alt = (event.keysym.mod & KMOD_ALT) != 0;
    bool control = (event.keysym.mod & KMOD_CTRL) != 0;
    bool isAlt = key.virtualKey == VK_MENU;
    int stateKey = StateKey(event.keysym.scancode, key.virtualKey);
    CKeyboardState& keys = CKeyboardState::Get();
    bool wasDown = down ? (event.repeat != 0 || keys.IsDown(stateKey)) : true;

    bool system = (alt && !control) || key.virtualKey == VK_F1 + 9;
    if (isAlt && down && !wasDown)
        g_altChord = false;
    else if (!isAlt && down && alt)
        g_altChord = true;
    if (isAlt && !down)
        system = !g_altChord && !control;

    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    bool contextAlt = system && (alt || (isAlt && down));
    LPARAM lParam = MakeKeyLParam(1, key.scanCode, key.extended, contextAlt, wasDown, !down);
    keys.SetDown(stateKey, down);
    Post(InputTarget(event.windowID), message, static_cast<WPARAM>(key.virtualKey), lParam);
}

void OnMouseButton(const SDL_MouseButtonEvent& event)
{
    static constexpr UINT kDown[3] = {WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN};
    static constexpr UINT kUp[3] = {WM_LBUTTONUP, WM_MBUTTONUP, WM_RBUTTONUP};
    static constexpr int kKeys[3] = {VK_LBUTTON, VK_MBUTTON, VK_RBUTTON};
    if (event.button < SDL_BUTTON_LEFT || event.button > SDL_BUTTON_RIGHT || event.which == SDL_TOUCH_MOUSEID)
        return;
    int index = event.button - SDL_BUTTON_LEFT;
    bool down = event.type == SDL_MOUSEBUTTONDOWN;
    CKeyboardState::Get().SetDown(kKeys[index], down);
    HWND target = MouseTarget(event.windowID);
    POINT point = ToTarget(target, event.windowID, event.x, event.y);
    Post(target, down ? kDown[index] : kUp[index], HeldButtonFlags(), PackPoint(point.x, point.y));
}

void OnMouseMotion(const SDL_MouseMotionEvent& event)
{
    if (event.which == SDL_TOUCH_MOUSEID)
        return;
    HWND target = MouseTarget(event.windowID);
    POINT point = ToTarget(target, event.windowID, event.x, event.y);
    Post(target, WM_MOUSEMOVE, ButtonFlags(event.state), PackPoint(point.x, point.y));
}

void OnMouseWheel(const SDL_MouseWheelEvent& event)
{
    float steps = event.preciseY != 0.0f ? event.preciseY : static_cast<float>(event.y);
    if (event.direction == SDL_MOUSEWHEEL_FLIPPED)
        steps = -steps;
    float scaled = steps * WHEEL_DELTA;
    int delta = static_cast<int>(scaled < 0 ? scaled - 0.5f : scaled + 0.5f);
    delta = delta > 32767 ? 32767 : (delta < -32768 ? -32768 : delta);
    if (delta == 0)
        return;
    HWND target = MouseTarget(event.windowID);
    CWindow* source = CWindowRegistry::Get().FindBySdlId(event.windowID);
    POINT point = ToClient(source, event.mouseX, event.mouseY);
    if (source)
        ClientToScreen(source->handle, &point);
    WPARAM wParam = MAKEWPARAM(static_cast<WORD>(HeldButtonFlags()), static_cast<WORD>(static_cast<SHORT>(delta)));
    Post(target, WM_MOUSEWHEEL, wParam, PackPoint(point.x, point.y));
}

void OnWindowEvent(const SDL_WindowEvent& event)
{
    CWindow* window = CWindowRegistry::Get().FindBySdlId(event.windowID);
    if (!window)
        return;
    HWND handle = window->handle;
    CDesktopState& desktop = CDesktopState::Get();
    switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        desktop.focus = handle;
        desktop.active = handle;
        Post(handle, WM_ACTIVATE, WA_ACTIVE, 0);
        Post(handle, WM_SETFOCUS, 0, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        if (desktop.focus == handle)
            desktop.focus = nullptr;
        Post(handle, WM_ACTIVATE, WA_INACTIVE, 0);
        Post(handle, WM_KILLFOCUS, 0, 0);
        break;
    case SDL_WINDOWEVENT_CLOSE:
        Post(handle, WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN:
        window->shownFrameStale = true;
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        window->minimised = true;
        Post(handle, WM_SIZE, SIZE_MINIMIZED, 0);
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
        // A minimised window that changes its size (leaving full screen) stays minimised.
        window->shownFrameStale = true;
        if (event.event != SDL_WINDOWEVENT_SIZE_CHANGED)
            window->minimised = false;
        if (window->minimised)
            break;
        CScreenScaling scaling = WindowScaling(*window);
        Post(handle, WM_SIZE, SIZE_RESTORED, PackPoint(scaling.clientWidth, scaling.clientHeight));
        break;
    }
    case SDL_WINDOWEVENT_MOVED:
        Post(handle, WM_MOVE, 0, PackPoint(event.data1, event.data2));
        break;
    case SDL_WINDOWEVENT_ENTER:
        Post(handle, WM_SETCURSOR, reinterpret_cast<WPARAM>(handle), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        break;
    default:
        break;
    }
}

// Another client destroyed the window: SDL leaves it alone from now on, and the session ends
// as when the window manager closes it.
void OnWindowVanished(unsigned long x11)
{
    CWindow* window = CWindowRegistry::Get().FindByX11Id(x11);
    if (!window || window->gone)
        return;
    window->gone = true;
    EndSession(SessionEndCause::WindowDestroyed);
}

// The display is gone: nothing may touch SDL's video again.
void OnDisplayLost()
{
    MarkSdlVideoLost();
    CWindowRegistry& registry = CWindowRegistry::Get();
    for (HWND handle : registry.Handles())
        registry.Find(handle)->gone = true;
    EndSession(SessionEndCause::DisplayLost);
}

void Convert(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        OnKey(event.key);
        break;
    case SDL_TEXTINPUT:
        CMessageQueue::Get().AddText(Utf8ToUtf16(event.text.text));
        break;
    case SDL_MOUSEMOTION:
        OnMouseMotion(event.motion);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        OnMouseButton(event.button);
        break;
    case SDL_MOUSEWHEEL:
        OnMouseWheel(event.wheel);
        break;
    case SDL_WINDOWEVENT:
        OnWindowEvent(event.window);
        break;
    case SDL_SYSWMEVENT:
        if (unsigned long destroyed = DestroyedX11Window(event))
            OnWindowVanished(destroyed);
        break;
    default:
        break;
    }
}

} // namespace

void PumpPlatformEvents()
{
    ReapShellChildren(false);
    PollPlatformRendezvous();
    DeliverSignalledSessionEnd();
    if (!SdlVideoStarted())
        return;
    SDL_Event event;
    while (!X11DisplayLost() && SDL_PollEvent(&event))
        Convert(event);
    for (unsigned long x11 : TakeVanishedX11Windows())
        OnWindowVanished(x11);
    if (X11DisplayLost())
        OnDisplayLost();
}
