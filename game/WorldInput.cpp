#include <cmath>

#include "engine3d/Camera.h"
#include "engine3d/Engine.h"
#include "game/VadadiDazidevWorld.h"
#include "platform/win32/Win32Window.h"
#include "world/ModuleRegistry.h"

// The window messages: activation, cursor, the full-screen switch, the developer keys and the
// pointer, scaled into the virtual screen before it reaches the recorder and the reactions.

namespace {

constexpr float kWheelStep = 0.05f;

// A client coordinate, read as signed and kept inside the client side (when known), in
// virtual-screen units.
float VirtualCoordinate(int value, uint16_t side, float scale)
{
    if (value < 0)
        value = 0;
    if (side > 0 && value >= side)
        value = side - 1;
    if (!(scale > 0.0f))
        return static_cast<float>(value);
    return std::floor(static_cast<float>(value) / scale);
}

// True for a renderer whose device must be given up when the window loses the screen.
bool LosesDeviceWhenInactive(const CWorldData& data)
{
    const CModuleDescriptor* renderer = data.chosenModules[kModule3D].descriptor;
    if (!renderer)
        return false;
    for (uint32_t pair : {kModuleCodeDX81, kModuleCodeDX9, kModuleCodeDX10, kModuleCodeDXMobile}) {
        if ((renderer->code & pair) == pair)
            return true;
    }
    return false;
}

} // namespace

Result CVadadiDazidevWorld::OnMessage(CWorldMessage* message)
{
    if (!message || !m_pData)
        return RES_FAIL;
    switch (message->message) {
    case WM_SYSKEYDOWN:
        OnSystemKeyDown(message->wParam, message->lParam);
        return RES_OK;
    case WM_SYSKEYUP:
        m_bAltEnterHandled = 0;
        return RES_OK;
    case WM_DESTROY:
        // A window destroyed other than by a switch of modes ends the run.
        if (!m_pData->recreating)
            PostQuitMessage(0);
        return RES_OK;
    case WM_ACTIVATE:
        return OnActivate(message->window, message->wParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return RES_FAIL;
    case WM_CANCELMODE:
        if (m_pData->fullscreen)
            ShowWindow(message->window, SW_MINIMIZE);
        return RES_OK;
    case WM_SETCURSOR:
        ClipPointer(message->window);
        return RES_OK;
    case WM_KEYDOWN:
        if (m_GameData.m_bDebugKeys)
            OnDeveloperKey(message->wParam);
        return RES_OK;
    case WM_KEYUP:
        // Enter let go after Alt arrives as a plain key release; the next Alt+Enter must switch.
        if (message->wParam == static_cast<WPARAM>(VK_RETURN))
            m_bAltEnterHandled = 0;
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        OnPointerMessage(*message);
        return RES_OK;
    case WM_RBUTTONDOWN:
        if (!m_bIgnoreMouse)
            IgnoreResult(CWorld::OnMessage(message));
        return RES_OK;
    case WM_MOUSEWHEEL:
        if (!m_bIgnoreMouse) {
            IgnoreResult(CWorld::OnMessage(message));
            OnMouseWheel(GET_WHEEL_DELTA_WPARAM(message->wParam) > 0 ? kWheelStep : -kWheelStep);
        }
        return RES_OK;
    default:
        break;
    }
    IgnoreResult(CWorld::OnMessage(message));
    return RES_OK;
}

void CVadadiDazidevWorld::OnPointerMessage(CWorldMessage& message)
{
    if (m_bIgnoreMouse) {
        if (message.message == WM_LBUTTONDOWN)
            m_bPressTaken = 0;
        return;
    }
    const Vector2 point = VirtualPointer(message.lParam);
    message.lParam = MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
    IgnoreResult(CWorld::OnMessage(&message));
    if (message.message == WM_MOUSEMOVE)
        IgnoreResult(OnMouseMove(point.x, point.y, 0.0f));
    else if (message.message == WM_LBUTTONDOWN)
        IgnoreResult(OnMouseLeftDown(point.x, point.y, 0.0f));
    else
        IgnoreResult(OnMouseLeftUp(point.x, point.y, 0.0f));
}

Vector2 CVadadiDazidevWorld::VirtualPointer(LPARAM lParam) const
{
    const float x = VirtualCoordinate(GET_X_LPARAM(lParam), m_pData->workingWidth, m_pData->scaleX);
    const float y = VirtualCoordinate(GET_Y_LPARAM(lParam), m_pData->workingHeight, m_pData->scaleY);
    const float w = m_pData->configuredWidth;
    const float h = m_pData->configuredHeight;
    const C3DCamera* camera = m_p3DEngine ? m_p3DEngine->GetCamera() : nullptr;
    switch (camera ? camera->GetOrientation() : kOrientationNormal) {
    case kOrientationHalfTurn:
        return {w - x, h - y};
    case kOrientationQuarterRight:
        return {y, w - x};
    case kOrientationQuarterLeft:
        return {h - y, x};
    default:
        return {x, y};
    }
}

void CVadadiDazidevWorld::OnSystemKeyDown(WPARAM key, LPARAM flags)
{
    if (key != static_cast<WPARAM>(VK_RETURN) || !(flags & 1))
        return;
    if (!m_bAltEnterHandled && Failed(ToggleFullscreen(m_pData->fullscreen ? 0 : 1)))
        PostQuitMessage(0);
    m_bAltEnterHandled = 1;
}

Result CVadadiDazidevWorld::OnActivate(HWND window, WPARAM state)
{
    if (!m_pData->fullscreen || m_pData->recreating)
        return RES_OK;
    Result result = RES_OK;
    if (state & 1) {
        DEVMODEW mode{};
        mode.dmSize = sizeof(mode);
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
        mode.dmPelsWidth = m_pData->configuredWidth;
        mode.dmPelsHeight = m_pData->configuredHeight;
        mode.dmBitsPerPel = m_pData->colorDepth;
        ChangeDisplaySettingsW(&mode, CDS_FULLSCREEN);
        ShowWindow(window, SW_RESTORE);
        SetWindowPos(window, HWND_TOP, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 0);
    } else {
        // A failed device step is reported, but the desktop is given back all the same.
        if (LosesDeviceWhenInactive(*m_pData) && m_p3DEngine && Failed(m_p3DEngine->Uninit(1)))
            result = RES_FAIL;
        ChangeDisplaySettingsW(nullptr, 0);
        ShowWindow(window, SW_MINIMIZE);
    }
    PostMessageW(window, WM_SETCURSOR, 0, 0);
    return result;
}

void CVadadiDazidevWorld::ClipPointer(HWND window)
{
    RECT area{};
    if (m_pData->fullscreen && GetWindowRect(window, &area))
        ClipCursor(&area);
    else
        ClipCursor(nullptr);
    ShowCursor(TRUE);
}
