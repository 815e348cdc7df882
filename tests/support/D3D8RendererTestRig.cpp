#include "tests/support/D3D8RendererTestRig.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "backends/d3d8/EngineDX81.h"
#include "core/WideString.h"
#include "engine3d/Camera.h"
#include "platform/D3D8TestHooks.h"
#include "platform/TestSwitches.h"
#include "platform/Win32Window.h"

namespace {

constexpr DWORD kWindowStyle = 0x06CA0000;

LRESULT RigProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

D3D8RendererTestRig::D3D8RendererTestRig(uint16_t width, uint16_t height) : m_data(std::make_unique<CWorldData>())
{
    CWorldData* d = m_data.get();
    d->math = &m_math;
    d->scaleX = d->scaleY = d->scaleZ = 1.0f;
    d->dataRootPrefixLength = -1;
    d->configuredWidth = d->workingWidth = width;
    d->configuredHeight = d->workingHeight = height;
    d->colorDepth = 32;
    d->orientation = kOrientationNormal;
    d->renderingEnabled = 1;
    d->alphaBlending[0] = d->alphaBlending[1] = 1;
    d->rendererSwitch[0] = d->rendererSwitch[1] = 1;
    d->pointSpriteMinSize = 1.0f;
    d->pointSpriteMaxSize = 64.0f;
    d->pointSpriteAttenuation[0] = 1.0f;
    d->viewNear = 1.0f;
    d->viewFar = 20000.0f;
    d->viewNearScreen = -1000.0f;
    d->viewFarScreen = 1000.0f;
    d->viewFieldDeg = 45.0f;
    d->gammaInitial = 128;
    for (Matrix4& m : d->matrices)
        m_math.Identity(&m);
    m_math.Identity(&d->screenView);

    SetFocusAssumed(true);
    m_className = Utf8ToUtf16("D3D8RendererTestRig-" + std::to_string(getpid()));
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = RigProc;
    windowClass.lpszClassName = m_className.c_str();
    RegisterClassW(&windowClass);
    m_window = CreateWindowExW(0, m_className.c_str(), u"Direct3D 8 test", kWindowStyle, 0, 0, width, height,
                               GetDesktopWindow(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (m_window)
        ShowWindow(m_window, SW_SHOW);
    m_engine = std::make_unique<C3DEngineDX81>(d);
}

D3D8RendererTestRig::~D3D8RendererTestRig()
{
    Unload();
    m_engine.reset();
    if (m_window)
        DestroyWindow(m_window);
    UnregisterClassW(m_className.c_str(), GetModuleHandleW(nullptr));
    D3D8ResetTestHooks();
    ResetTestSwitches();
    PlatformShutdown();
}

bool D3D8RendererTestRig::HasDisplay()
{
    const char* display = getenv("DISPLAY");
    return display && *display;
}

Result D3D8RendererTestRig::Load()
{
    const Result result = m_engine->Load(m_window);
    if (Failed(result))
        return result;
    CWorldData* d = m_data.get();
    C3DCamera* camera = m_engine->GetCamera();
    camera->ResetView();
    camera->SetScreenRotation(d->orientation);
    camera->SetViewport(0, 0, d->configuredWidth, d->configuredHeight);
    return RES_OK;
}

uint32_t D3D8RendererTestRig::Unload()
{
    if (!m_unloaded && m_engine) {
        m_engine->Unload();
        m_unloaded = true;
    }
    return m_engine ? m_engine->LeakedLists() : 0;
}

IDirect3DDevice8* D3D8RendererTestRig::Device() const
{
    return m_engine ? m_engine->GetState().device : nullptr;
}

RgbPixel D3D8RendererTestRig::ReadPixel(int x, int y) const
{
    return D3D8BackBufferPixel(Device(), x, y);
}

RgbPixel D3D8BackBufferPixel(IDirect3DDevice8* device, int x, int y)
{
    RgbPixel pixel{0, 0, 0};
    IDirect3DSurface8* target = nullptr;
    if (!device || device->GetRenderTarget(&target) < 0 || !target)
        return pixel;
    D3DSURFACE_DESC desc{};
    D3DLOCKED_RECT locked{};
    const bool fourBytes = target->GetDesc(&desc) >= 0 &&
                           (desc.Format == D3DFMT_X8R8G8B8 || desc.Format == D3DFMT_A8R8G8B8);
    const bool inside = x >= 0 && y >= 0 && static_cast<UINT>(x) < desc.Width && static_cast<UINT>(y) < desc.Height;
    if (fourBytes && inside && target->LockRect(&locked, nullptr, D3DLOCK_READONLY) >= 0) {
        D3DCOLOR colour = 0;
        memcpy(&colour, static_cast<const uint8_t*>(locked.pBits) + static_cast<size_t>(locked.Pitch) * y + x * 4u,
               sizeof colour);
        pixel = RgbPixel{static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                         static_cast<uint8_t>(colour)};
        target->UnlockRect();
    }
    target->Release();
    return pixel;
}
