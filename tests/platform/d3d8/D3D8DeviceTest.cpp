#include "platform/win32/DesktopState.h"
#include "tests/platform/d3d8/D3D8TestSupport.h"

namespace {

constexpr DWORD kHardware = D3DCREATE_HARDWARE_VERTEXPROCESSING;
constexpr DWORD kSoftware = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
constexpr DWORD kMixed = D3DCREATE_MIXED_VERTEXPROCESSING;

class D3D8DeviceTest : public D3D8Test {};

// The fall-back order the renderer tries: hardware (twice), mixed, software, on HAL then REF.
HRESULT CreateWithFallbacks(IDirect3D8* direct3D, HWND window, D3DPRESENT_PARAMETERS& parameters,
                            IDirect3DDevice8** device, D3DDEVTYPE& type, DWORD& flags)
{
    const DWORD tries[] = {kHardware, kHardware, kMixed, kSoftware};
    for (D3DDEVTYPE candidate : {D3DDEVTYPE_HAL, D3DDEVTYPE_REF}) {
        for (DWORD behaviour : tries) {
            if (direct3D->CreateDevice(0, candidate, window, behaviour, &parameters, device) < 0)
                continue;
            if ((*device)->TestCooperativeLevel() < 0) {
                (*device)->Release();
                *device = nullptr;
                continue;
            }
            type = candidate;
            flags = behaviour;
            return D3D_OK;
        }
    }
    return D3DERR_NOTAVAILABLE;
}

} // namespace

TEST_F(D3D8DeviceTest, Direct3DCreate8TakesOnlyItsOwnVersionAndCanBeMadeToFail)
{
    EXPECT_EQ(Direct3DCreate8(D3D_SDK_VERSION + 1), nullptr);
    D3D8FailDirect3DCreate(true);
    EXPECT_EQ(Direct3DCreate8(D3D_SDK_VERSION), nullptr);
    D3D8FailDirect3DCreate(false);
    IDirect3D8* direct3D = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(direct3D, nullptr);
    EXPECT_EQ(direct3D->GetAdapterCount(), 1u);
    EXPECT_EQ(direct3D->Release(), 0u);
}

TEST_F(D3D8DeviceTest, AdapterModeIsTheDesktopOrTheOverride)
{
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(m_direct3D->GetAdapterDisplayMode(0, &mode), D3D_OK);
    EXPECT_GT(mode.Width, 0u);
    EXPECT_GT(mode.Height, 0u);
    EXPECT_TRUE(mode.Format == D3DFMT_X8R8G8B8 || mode.Format == D3DFMT_R5G6B5);
    EXPECT_EQ(m_direct3D->GetAdapterDisplayMode(1, &mode), D3DERR_INVALIDCALL);
    D3DDISPLAYMODE sixteen{800, 600, 60, D3DFMT_R5G6B5};
    D3D8OverrideDisplayMode(&sixteen);
    ASSERT_EQ(m_direct3D->GetAdapterDisplayMode(0, &mode), D3D_OK);
    EXPECT_EQ(mode.Format, D3DFMT_R5G6B5);
    EXPECT_EQ(mode.Width, 800u);
    // A window must use the desktop format.
    D3DPRESENT_PARAMETERS parameters = Windowed(64, 64);
    EXPECT_EQ(parameters.BackBufferFormat, D3DFMT_R5G6B5);
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    EXPECT_EQ(m_direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, kHardware, &parameters, &m_device),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(MakeDevice(), D3D_OK);
    EXPECT_EQ(D3D8InspectDevice(m_device).presentation.BackBufferFormat, D3DFMT_R5G6B5);
}

TEST_F(D3D8DeviceTest, BehaviourFlagsNeedExactlyOneKindOfVertexProcessing)
{
    D3DPRESENT_PARAMETERS parameters = Windowed(64, 64);
    EXPECT_EQ(m_direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, 0, &parameters, &m_device), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, kHardware | kSoftware, &parameters, &m_device),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(m_direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, kSoftware | D3DCREATE_PUREDEVICE, &parameters,
                                       &m_device),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(m_direct3D->CreateDevice(0, D3DDEVTYPE_SW, m_window, kHardware, &parameters, &m_device),
              D3DERR_NOTAVAILABLE);
    EXPECT_EQ(m_device, nullptr);
    ASSERT_EQ(m_direct3D->CreateDevice(0, D3DDEVTYPE_REF, m_window, kMixed, &parameters, &m_device), D3D_OK);
    CD3D8DeviceInfo info = D3D8InspectDevice(m_device);
    EXPECT_EQ(info.type, D3DDEVTYPE_REF);
    EXPECT_EQ(info.behaviourFlags, kMixed);
    D3DCAPS8 caps{};
    EXPECT_EQ(m_device->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_EQ(caps.DeviceType, D3DDEVTYPE_REF);
}

TEST_F(D3D8DeviceTest, PresentParametersAreCheckedAndCompleted)
{
    D3DPRESENT_PARAMETERS parameters = Windowed(0, 0);
    parameters.BackBufferCount = 0;
    ASSERT_EQ(m_direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, kHardware, &parameters, &m_device), D3D_OK);
    EXPECT_EQ(parameters.BackBufferCount, 1u);
    EXPECT_EQ(parameters.BackBufferWidth, static_cast<UINT>(D3D8Scenarios::kWidth));
    EXPECT_EQ(parameters.BackBufferHeight, static_cast<UINT>(D3D8Scenarios::kHeight));
    ReleaseDevice();

    D3DPRESENT_PARAMETERS wrong = Windowed(64, 64);
    wrong.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_ONE;
    EXPECT_EQ(m_direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, kHardware, &wrong, &m_device), D3DERR_INVALIDCALL);
    wrong = Windowed(64, 64);
    wrong.SwapEffect = D3DSWAPEFFECT_COPY_VSYNC;
    wrong.BackBufferCount = 2;
    EXPECT_EQ(m_direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, kHardware, &wrong, &m_device), D3DERR_INVALIDCALL);
    wrong = Windowed(64, 64);
    wrong.AutoDepthStencilFormat = D3DFMT_X8R8G8B8;
    EXPECT_EQ(m_direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, kHardware, &wrong, &m_device), D3DERR_INVALIDCALL);
    wrong = Windowed(64, 64);
    wrong.hDeviceWindow = nullptr;
    EXPECT_EQ(m_direct3D->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, kHardware, &wrong, &m_device), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device, nullptr);
}

TEST_F(D3D8DeviceTest, InjectedFailuresDriveTheFallbackOrder)
{
    D3D8FailCreateDevice(D3DDEVTYPE_HAL, kHardware, D3DERR_NOTAVAILABLE);
    D3D8FailCreateDevice(D3DDEVTYPE_HAL, kMixed, D3DERR_OUTOFVIDEOMEMORY);
    D3D8StartLost(D3DDEVTYPE_HAL, kSoftware, D3D8Loss::Lost);
    D3DPRESENT_PARAMETERS parameters = Windowed(64, 64);
    D3D8TraceStart();
    D3DDEVTYPE type = D3DDEVTYPE_HAL;
    DWORD flags = 0;
    ASSERT_EQ(CreateWithFallbacks(m_direct3D, m_window, parameters, &m_device, type, flags), D3D_OK);
    EXPECT_EQ(type, D3DDEVTYPE_REF);
    EXPECT_EQ(flags, kHardware);
    std::vector<HRESULT> results;
    for (const CD3D8TraceCall& call : D3D8TraceCalls()) {
        if (call.name == "IDirect3D8::CreateDevice")
            results.push_back(call.result);
    }
    std::vector<HRESULT> expected = {D3DERR_NOTAVAILABLE, D3DERR_NOTAVAILABLE, D3DERR_OUTOFVIDEOMEMORY, D3D_OK, D3D_OK};
    EXPECT_EQ(results, expected);
    EXPECT_EQ(D3D8TraceCount("IDirect3DDevice8::TestCooperativeLevel"), 2u);
}

TEST_F(D3D8DeviceTest, ReferencesCountResourcesAndSurfaces)
{
    ASSERT_EQ(MakeDevice(), D3D_OK);
    IDirect3DVertexBuffer8* buffer = nullptr;
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(m_device->CreateVertexBuffer(64, D3DUSAGE_WRITEONLY, 0, D3DPOOL_SYSTEMMEM, &buffer), D3D_OK);
    ASSERT_EQ(m_device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    EXPECT_EQ(D3D8InspectDevice(m_device).liveResources, 2u);
    EXPECT_EQ(m_device->AddRef(), 4u);  // the caller's, one per resource, this one
    EXPECT_EQ(m_device->Release(), 3u);

    IDirect3DSurface8* level = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &level), D3D_OK);
    EXPECT_EQ(texture->AddRef(), 3u);  // a surface counts for its texture
    texture->Release();
    level->Release();
    IDirect3DSurface8* target = nullptr;
    ASSERT_EQ(m_device->GetRenderTarget(&target), D3D_OK);
    EXPECT_EQ(m_device->AddRef(), 5u);
    m_device->Release();
    target->Release();

    // Bound to stage 0, a texture the caller let go of lives on without holding the device.
    m_device->SetTexture(0, texture);
    EXPECT_EQ(texture->Release(), 0u);
    IDirect3DBaseTexture8* bound = nullptr;
    ASSERT_EQ(m_device->GetTexture(0, &bound), D3D_OK);
    EXPECT_EQ(bound, static_cast<IDirect3DBaseTexture8*>(texture));
    EXPECT_EQ(bound->GetLevelCount(), 1u);
    bound->Release();

    // The renderer releases the Direct3D object and the device before its own objects.
    EXPECT_EQ(m_direct3D->Release(), 1u);
    m_direct3D = nullptr;
    EXPECT_EQ(m_device->Release(), 1u);
    EXPECT_EQ(buffer->Release(), 0u);
    m_device = nullptr;
}

TEST_F(D3D8DeviceTest, LostDeviceSkipsFramesUntilReset)
{
    ASSERT_EQ(MakeDevice(), D3D_OK);
    D3D8SetLoss(m_device, D3D8Loss::Lost);
    EXPECT_EQ(m_device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    D3DPRESENT_PARAMETERS parameters = Windowed(64, 64);
    EXPECT_EQ(m_device->Reset(&parameters), D3DERR_DEVICELOST);
    EXPECT_EQ(m_device->BeginScene(), D3D_OK);
    CD3D8ScreenVertex quad[] = {{0, 0, 0, 1, 0xFFFFFFFF, 0, 0}, {64, 0, 0, 1, 0xFFFFFFFF, 0, 0},
                                {0, 64, 0, 1, 0xFFFFFFFF, 0, 0}};
    m_device->SetVertexShader(kD3D8ScreenFvf);
    EXPECT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, quad, sizeof(CD3D8ScreenVertex)), D3D_OK);
    EXPECT_EQ(m_device->EndScene(), D3D_OK);
    EXPECT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(D3D8InspectDevice(m_device).stats.draws, 0u);

    D3D8SetLoss(m_device, D3D8Loss::NotReset);
    EXPECT_EQ(m_device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(m_device->Reset(&parameters), D3D_OK);
    EXPECT_EQ(m_device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

TEST_F(D3D8DeviceTest, FailedResetLeavesTheDeviceWaitingForAnother)
{
    ASSERT_EQ(MakeDevice(), D3D_OK);
    D3D8FailResets(m_device, 1, D3DERR_NOTAVAILABLE);
    D3DPRESENT_PARAMETERS parameters = Windowed(32, 48);
    EXPECT_EQ(m_device->Reset(&parameters), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(m_device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(m_device->Reset(&parameters), D3D_OK);
    EXPECT_EQ(m_device->TestCooperativeLevel(), D3D_OK);
    D3DVIEWPORT8 viewport{};
    m_device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 32u);
    EXPECT_EQ(viewport.Height, 48u);
    EXPECT_EQ(D3D8InspectDevice(m_device).stats.resets, 1u);
}

TEST_F(D3D8DeviceTest, ResetIsRefusedWhileDefaultPoolResourcesAreHeld)
{
    ASSERT_EQ(MakeDevice(), D3D_OK);
    IDirect3DVertexBuffer8* buffer = nullptr;
    ASSERT_EQ(m_device->CreateVertexBuffer(48, 0, 0, D3DPOOL_DEFAULT, &buffer), D3D_OK);
    D3DPRESENT_PARAMETERS parameters = Windowed(64, 64);
    EXPECT_EQ(m_device->Reset(&parameters), D3DERR_INVALIDCALL);
    buffer->Release();
    EXPECT_EQ(m_device->Reset(&parameters), D3D_OK);
}

TEST_F(D3D8DeviceTest, CapsAreTheLayersOwnOrTheOverride)
{
    ASSERT_EQ(MakeDevice(), D3D_OK);
    D3DCAPS8 caps{};
    ASSERT_EQ(m_device->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_EQ(caps.RasterCaps & (D3DPRASTERCAPS_FOGTABLE | D3DPRASTERCAPS_WFOG),
              D3DPRASTERCAPS_FOGTABLE | D3DPRASTERCAPS_WFOG);
    EXPECT_EQ(caps.StencilCaps & 0xFF, 0xFFu);
    EXPECT_GE(caps.MaxTextureWidth, 1024u);
    EXPECT_EQ(caps.PixelShaderVersion, D3DPS_VERSION(1, 4));
    ReleaseDevice();

    D3DCAPS8 weak = D3D8OwnCaps(D3DDEVTYPE_HAL);
    weak.RasterCaps &= ~D3DPRASTERCAPS_WFOG;
    weak.MaxTextureWidth = 512;
    D3D8OverrideCaps(&weak);
    ASSERT_EQ(MakeDevice(), D3D_OK);
    ASSERT_EQ(m_device->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_EQ(caps.RasterCaps & D3DPRASTERCAPS_WFOG, 0u);
    EXPECT_EQ(caps.MaxTextureWidth, 512u);
    IDirect3DTexture8* texture = nullptr;
    EXPECT_EQ(m_device->CreateTexture(1024, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3DERR_INVALIDCALL);
}

TEST_F(D3D8DeviceTest, TraceRecordsCallsWithTheirArguments)
{
    ASSERT_EQ(MakeDevice(), D3D_OK);
    D3D8TraceStart();
    m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    m_device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(11), 1);
    m_device->SetTexture(0, nullptr);
    D3D8TraceStop();
    m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
    const std::vector<CD3D8TraceCall>& calls = D3D8TraceCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].Text(), "IDirect3DDevice8::SetRenderState(22, 1) = 0x00000000");
    EXPECT_EQ(calls[1].result, D3DERR_INVALIDCALL);
    EXPECT_EQ(calls[2].args, (std::vector<uint64_t>{0, 0}));
}

TEST_F(D3D8DeviceTest, ScenesAndPresentFollowTheRules)
{
    ASSERT_EQ(MakeDevice(), D3D_OK);
    EXPECT_EQ(m_device->EndScene(), D3DERR_INVALIDCALL);
    ASSERT_EQ(m_device->BeginScene(), D3D_OK);
    EXPECT_EQ(m_device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    ASSERT_EQ(m_device->EndScene(), D3D_OK);
    RECT half{0, 0, 32, 32};
    EXPECT_EQ(m_device->Present(&half, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);  // needs a copy swap effect
    EXPECT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    // Drawing outside a scene is refused.
    CD3D8ScreenVertex vertex{1, 1, 0, 1, 0xFFFFFFFF, 0, 0};
    m_device->SetVertexShader(kD3D8ScreenFvf);
    EXPECT_EQ(m_device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &vertex, sizeof(vertex)), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3D8InspectDevice(m_device).stats.presents, 1u);
}

TEST_F(D3D8DeviceTest, FullScreenSetsTheDisplayModeUntilReleased)
{
    UINT width = static_cast<UINT>(GetSystemMetrics(SM_CXSCREEN));
    UINT height = static_cast<UINT>(GetSystemMetrics(SM_CYSCREEN));
    D3DPRESENT_PARAMETERS parameters = Windowed(width, height);
    parameters.Windowed = FALSE;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_TWO;
    EXPECT_EQ(m_direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, kHardware, &parameters, &m_device),
              D3DERR_INVALIDCALL);  // not among the caps' intervals
    parameters.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    ASSERT_EQ(m_direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, kHardware, &parameters, &m_device), D3D_OK);
    EXPECT_TRUE(CDesktopState::Get().modeSet);
    EXPECT_EQ(CDesktopState::Get().modeWidth, static_cast<int>(width));
    EXPECT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    // Back to a window: the desktop mode returns.
    D3DPRESENT_PARAMETERS windowed = Windowed(64, 64);
    ASSERT_EQ(m_device->Reset(&windowed), D3D_OK);
    EXPECT_FALSE(CDesktopState::Get().modeSet);
    ReleaseDevice();

    // A size the display does not have is the mode all the same: the display shows it scaled.
    parameters.BackBufferWidth = 123;
    parameters.BackBufferHeight = 77;
    ASSERT_EQ(m_direct3D->CreateDevice(0, D3DDEVTYPE_HAL, m_window, kHardware, &parameters, &m_device), D3D_OK);
    EXPECT_TRUE(CDesktopState::Get().modeSet);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 123);
    EXPECT_EQ(m_device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

// New buffers read black until cleared; a clear of a part leaves the rest black.
TEST_F(D3D8DeviceTest, NewBackBufferIsBlackAroundAPartialClear)
{
    ASSERT_EQ(MakeDevice(), D3D_OK);
    EXPECT_EQ(Pixel(5, 5), 0xFF000000u);
    D3DRECT part{0, 0, 8, 8};
    ASSERT_EQ(m_device->Clear(1, &part, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
    EXPECT_EQ(Pixel(4, 4), 0xFFFF0000u);
    EXPECT_EQ(Pixel(20, 20), 0xFF000000u);
}
