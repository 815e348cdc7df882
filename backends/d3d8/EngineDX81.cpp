#include "backends/d3d8/EngineDX81.h"

#include <new>

#include "backends/d3d8/CameraDX81.h"
#include "core/Log.h"
#include "base/WideFormat.h"
#include "core/WorldData.h"
#include "platform/win32/GLContext.h"
#include "platform/win32/Win32System.h"

namespace {

constexpr DWORD kClearAll = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
constexpr DWORD kLostWaitMs = 100;
constexpr int kResetPolls = 10;

} // namespace

C3DEngineDX81::C3DEngineDX81(CWorldData* data) : C3DEngine(data)
{
    m_pWorldData->rendererState = &m_state;
}

C3DEngineDX81::~C3DEngineDX81()
{
    if (m_pCamera) {
        IgnoreResult(m_pCamera->Release());
        delete m_pCamera;
        m_pCamera = nullptr;
    }
    ReleaseDevice();
    if (m_pWorldData->rendererState == &m_state)
        m_pWorldData->rendererState = nullptr;
}

Result C3DEngineDX81::Load(WindowHandle window)
{
    CWorldData* d = m_pWorldData;
    m_state.window = static_cast<HWND>(window);
    if (!window) {
        d->lastError = RES_NO_WINDOW;
        return RES_NO_WINDOW;
    }
    m_state.direct3D = Direct3DCreate8(D3D_SDK_VERSION);
    if (!m_state.direct3D) {
        ReportNoDevice();
        LogPrintf(d->logPath, 0, u"# C3DEngineDX81::Load failed! %s\n", d->errorDetail);
        return RES_NO_DEVICE;
    }
    m_state.direct3D->GetAdapterDisplayMode(0, &m_state.desktopMode);
    d->desktopWidth = static_cast<uint16_t>(m_state.desktopMode.Width);
    d->desktopHeight = static_cast<uint16_t>(m_state.desktopMode.Height);
    m_state.referenceDevice = 0;
    m_state.preferredFlags = D3DCREATE_HARDWARE_VERTEXPROCESSING;

    m_state.presentation = D3DPRESENT_PARAMETERS{};
    m_state.presentation.MultiSampleType = D3DMULTISAMPLE_NONE;
    m_state.presentation.EnableAutoDepthStencil = TRUE;
    m_state.presentation.AutoDepthStencilFormat = D3DFMT_D24S8;
    FillPresentParameters(d->workingWidth, d->workingHeight, d->fullscreen, d->colorDepth);

    if (Failed(CreateDevice())) {
        if (m_state.referenceDevice) {
            d->lastError = RES_NO_DEVICE;
            return RES_NO_DEVICE;
        }
        m_state.referenceDevice = 1;
        if (Failed(CreateDevice())) {
            LogPrintf(d->logPath, 0,
                      u"# No compatible device found.\nYour video card is not installed correctly.\nOr your video "
                      u"card is too old.\nThe application must exit now.\n");
            ReportNoDevice();
            return RES_NO_DEVICE;
        }
    }
    if (m_state.device->GetDeviceCaps(&m_state.caps) < 0)
        return RES_FAIL;
    const Result camera = MakeCamera();
    if (Failed(camera))
        return camera;
    d->maxTextureWidth = m_state.caps.MaxTextureWidth;
    d->maxTextureHeight = m_state.caps.MaxTextureHeight;
    return Failed(C3DEngine::Load(window)) ? RES_FAIL : RES_OK;
}

// The detail the start-up error box shows, named after the chosen module.
void C3DEngineDX81::ReportNoDevice()
{
    CWorldData* d = m_pWorldData;
    const CModuleDescriptor* module = d->chosenModules[kModule3D].descriptor;
    const char16_t* name = (module && module->longName) ? module->longName : u"DirectX 8.1";
    WFormat(d->errorDetail, kMaxPathUnits, u"No compatible %s was found", name);
    d->lastError = RES_NO_DEVICE;
}

Result C3DEngineDX81::MakeCamera()
{
    m_pCamera = new (std::nothrow) C3DCameraDX81(m_pWorldData);
    if (!m_pCamera) {
        m_pWorldData->lastError = RES_OUT_OF_MEMORY;
        return RES_OUT_OF_MEMORY;
    }
    return Failed(m_pCamera->Init()) ? RES_FAIL : RES_OK;
}

// Listed objects hold device resources, so they go before the device.
Result C3DEngineDX81::Unload()
{
    if (m_pCamera) {
        IgnoreResult(m_pCamera->Release());
        delete m_pCamera;
        m_pCamera = nullptr;
    }
    const Result result = C3DEngine::Unload();
    ReleaseDevice();
    return Failed(result) ? RES_FAIL : RES_OK;
}

void C3DEngineDX81::ReleaseDevice()
{
    if (m_state.direct3D) {
        m_state.direct3D->Release();
        m_state.direct3D = nullptr;
    }
    if (m_state.device) {
        const ULONG left = m_state.device->Release();
        m_state.device = nullptr;
        if (left != 0)
            LogPrintf(m_pWorldData->logPath, 0, u"# C3DEngineDX81 detected memory leaks in DX81! (%u lost)\n", left);
    }
}

Result C3DEngineDX81::Init(WindowHandle window, uint16_t width, uint16_t height, uint8_t fullscreen,
                           uint8_t colorBits, uint8_t restore)
{
    CWorldData* d = m_pWorldData;
    m_state.window = static_cast<HWND>(window);
    if (!window) {
        d->lastError = RES_NO_WINDOW;
        return RES_NO_WINDOW;
    }
    FillPresentParameters(width, height, fullscreen, colorBits);
    if (Failed(ResetDevice())) {
        d->lastError = RES_NO_DEVICE;
        return RES_NO_DEVICE;
    }
    return Failed(C3DEngine::Init(window, width, height, fullscreen, colorBits, restore)) ? RES_FAIL : RES_OK;
}

// A refused reset is tried once more, after waiting (at most a second) for the device to say it
// can be reset.
Result C3DEngineDX81::ResetDevice()
{
    IDirect3DDevice8* device = m_state.device;
    if (!device)
        return RES_FAIL;
    if (device->Reset(&m_state.presentation) >= 0)
        return RES_OK;
    for (int poll = 0; poll < kResetPolls; ++poll) {
        if (device->TestCooperativeLevel() == D3DERR_DEVICENOTRESET)
            break;
        Sleep(kLostWaitMs);
    }
    return device->Reset(&m_state.presentation) >= 0 ? RES_OK : RES_FAIL;
}

Result C3DEngineDX81::Uninit(uint8_t release)
{
    return Failed(C3DEngine::Uninit(release)) ? RES_FAIL : RES_OK;
}

Result C3DEngineDX81::OnDeviceError(HRESULT error)
{
    const CWorldData* d = m_pWorldData;
    switch (error) {
    case D3DERR_DEVICELOST:
        Sleep(kLostWaitMs);
        return RES_OK;
    case D3DERR_DEVICENOTRESET:
        if (Failed(Uninit(1)))
            return RES_FAIL;
        if (Failed(Init(m_state.window, d->configuredWidth, d->configuredHeight, d->fullscreen, d->colorDepth, 1)))
            return RES_FAIL;
        return RES_OK;
    default:
        return RES_FAIL;
    }
}

HRESULT C3DEngineDX81::ClearTarget()
{
    IDirect3DDevice8* device = m_state.device;
    if (!device)
        return D3DERR_INVALIDCALL;
    return device->Clear(0, nullptr, kClearAll, m_pWorldData->clearColor, 1.0f, 0);
}

const char* C3DEngineDX81::GetDriverVersion() const
{
    return GLGetVersionString();
}

Result C3DEngineDX81::BeginFrame()
{
    IDirect3DDevice8* device = m_state.device;
    if (!device)
        return RES_FAIL;
    const HRESULT ready = device->TestCooperativeLevel();
    if (ready < 0) {
        IgnoreResult(OnDeviceError(ready));
        return RES_FAIL;
    }
    ClearTarget();
    device->BeginScene();
    IgnoreResult(FogingInit());
    IgnoreResult(LightingInit(0xFFFFFFFFu));
    if (m_pCamera)
        IgnoreResult(m_pCamera->ApplyProjection());
    return RES_OK;
}

Result C3DEngineDX81::EndFrame()
{
    IDirect3DDevice8* device = m_state.device;
    if (!device)
        return RES_FAIL;
    device->EndScene();
    const HRESULT presented = device->Present(nullptr, nullptr, nullptr, nullptr);
    if (presented < 0) {
        IgnoreResult(OnDeviceError(presented));
        return RES_FAIL;
    }
    return RES_OK;
}

void C3DEngineDX81::Clear()
{
    ClearTarget();
}
