#include "app/MainWindow.h"

#include "core/WorldData.h"
#include "engine3d/Engine.h"
#include "game/GameData.h"
#include "platform/win32/Win32Window.h"
#include "world/World.h"

const char16_t kMainWindowClass[] = u"Kvo Adventure";
const char16_t kWorldProperty[] = u"pWorld";

namespace {

// Where one axis of a window of that size starts when centred on the screen, 0 when it does not fit.
LONG CenteredStart(LONG current, int screen, uint16_t size)
{
    auto screenSize = static_cast<uint16_t>(screen);
    if (size > screenSize)
        return 0;
    return current + static_cast<uint16_t>((screenSize - size) >> 1);
}

CWorld* WorldOf(HWND window)
{
    return static_cast<CWorld*>(GetPropW(window, kWorldProperty));
}

} // namespace

void AdjustClientRect(RECT* rect, uint16_t width, uint16_t height, uint8_t fullscreen)
{
    if (!rect)
        return;
    *rect = RECT{0, 0, width, height};
    AdjustWindowRect(rect, fullscreen ? kFullscreenStyle : kWindowedStyle, FALSE);
}

Result CreateMainWindow(CWorld* world, uint16_t width, uint16_t height, uint8_t fullscreen, uint8_t,
                        CMainWindowInfo* info)
{
    if (!world || !info)
        return RES_FAIL;
    RECT rect;
    AdjustClientRect(&rect, width, height, fullscreen);
    char16_t title[kTitleUnits];
    const CGameData* game = world->GetData()->gameData;
    IgnoreResult(world->GetTitle(kMainWindowClass, game ? game->m_szAppName : u"", title, kTitleUnits));
    info->window = CreateWindowExW(0, kMainWindowClass, title, fullscreen ? kFullscreenStyle : kWindowedStyle,
                                   rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                   GetDesktopWindow(), nullptr, info->instance, nullptr);
    if (!info->window)
        return RES_FAIL;
    if (!SetPropW(info->window, kWorldProperty, world)) {
        DestroyWindow(info->window);
        info->window = nullptr;
        return RES_FAIL;
    }
    return RES_OK;
}

Result CenterMainWindow(CWorld* world, CMainWindowInfo* info)
{
    if (!world || !info)
        return RES_FAIL;
    const CWorldData* data = world->GetData();
    if (data->fullscreen)
        return RES_OK;
    RECT rect;
    if (!GetWindowRect(info->window, &rect))
        return RES_FAIL;
    LONG left = CenteredStart(rect.left, GetSystemMetrics(SM_CXSCREEN), data->configuredWidth);
    LONG top = CenteredStart(rect.top, GetSystemMetrics(SM_CYSCREEN), data->configuredHeight);
    SetWindowPos(info->window, HWND_NOTOPMOST, left, top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_SHOWWINDOW);
    return RES_OK;
}

Result ShowMainWindow(CWorld* world, CMainWindowInfo* info)
{
    if (!world || !info)
        return RES_FAIL;
    world->SetMainWindowInfo(info);
    ShowWindow(info->window, SW_SHOW);
    UpdateWindow(info->window);
    SetFocus(info->window);
    return RES_OK;
}

Result DestroyMainWindow(CMainWindowInfo* info)
{
    if (!info)
        return RES_FAIL;
    HWND window = info->window;
    info->window = nullptr;
    if (!IsWindow(window))
        return RES_OK;  // already closed, as Alt+F4 does
    RemovePropW(window, kWorldProperty);
    return DestroyWindow(window) ? RES_OK : RES_FAIL;
}

Result ToggleFullscreen(CWorld* world, uint8_t fullscreen)
{
    if (!world)
        return RES_FAIL;
    CWorldData* data = world->GetData();
    if (data->fullscreen == fullscreen)
        return RES_OK;
    C3DEngine* engine = world->Get3DEngine();
    CMainWindowInfo* info = world->GetMainWindowInfo();
    if (!engine || !info)
        return RES_FAIL;
    data->recreating = 1;
    if (Failed(engine->Uninit(1)) || Failed(DestroyMainWindow(info)))
        return RES_FAIL;
    if (Failed(CreateMainWindow(world, data->configuredWidth, data->configuredHeight, fullscreen, data->colorDepth, info)))
        return RES_FAIL;
    if (Failed(engine->Init(info->window, data->configuredWidth, data->configuredHeight, fullscreen, data->colorDepth, 1)))
        return RES_FAIL;
    if (Failed(CenterMainWindow(world, info)) || Failed(ShowMainWindow(world, info)))
        return RES_FAIL;
    data->recreating = 0;
    PostMessageW(info->window, WM_SETCURSOR, 0, 0);
    return RES_OK;
}

LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWorld* world = WorldOf(window);
    if (!world)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_TIMER) {
        CWorldData* data = world->GetData();
        data->minimised = IsIconic(window) ? 1 : 0;
        data->hasFocus = GetFocus() == window ? 1 : 0;
        if (Failed(world->OnFrame()))
            PostQuitMessage(0);
    }
    CWorldMessage record{window, message, wParam, lParam, {0, 0, 0}};
    if (Failed(world->OnMessage(&record)))
        return -1;
    return DefWindowProcW(window, message, wParam, lParam);
}
