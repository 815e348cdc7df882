#include <cfloat>
#include <cmath>
#include <string>
#include <unistd.h>

#include "backends/d3d8/CameraDX81.h"
#include "backends/d3d8/ObjectDX81Formats.h"
#include "backends/d3d8/RendererModule.h"
#include "base/WideString.h"
#include "core/WorldData.h"
#include "engine3d/Object.h"
#include "engine3d/Texture.h"
#include "tests/support/platform/TestSwitches.h"
#include "platform/win32/Win32Window.h"
#include "tests/backends/d3d8/DX81Fixture.h"

namespace {

uint32_t g_slept = 0;

void CountSleep(uint32_t milliseconds)
{
    g_slept += milliseconds;
}

class EngineDX81LoadTest : public DX81Fixture {
protected:
    void SetUp() override
    {
        DX81Fixture::SetUp();
        g_slept = 0;
        SetSleepHook(CountSleep);
    }

    // Device creation fails for these flags on both device types.
    static void FailEverywhere(std::initializer_list<DWORD> flags)
    {
        for (DWORD f : flags) {
            D3D8FailCreateDevice(D3DDEVTYPE_HAL, f, D3DERR_NOTAVAILABLE);
            D3D8FailCreateDevice(D3DDEVTYPE_REF, f, D3DERR_NOTAVAILABLE);
        }
    }

    // (device type, behaviour flags) of every CreateDevice call recorded.
    static std::vector<std::pair<uint64_t, uint64_t>> CreateTries()
    {
        std::vector<std::pair<uint64_t, uint64_t>> tries;
        for (const CD3D8TraceCall& call : Calls("IDirect3D8::CreateDevice"))
            tries.emplace_back(call.args[1], call.args[3]);
        return tries;
    }
};

class EngineDX81Test : public DX81LoadedFixture {
protected:
    void SetUp() override
    {
        DX81LoadedFixture::SetUp();
        g_slept = 0;
        SetSleepHook(CountSleep);
    }

    // A one-part triangle object with a recorded state block.
    C3DObject* MakeTriangle()
    {
        C3DObject* object = Engine()->CreateObject(kFormatColorTex, kObjectStateBlock);
        EXPECT_EQ(object->Create(1, 3, 3), RES_OK);
        EXPECT_EQ(object->Lock(), RES_OK);
        object->ResetIndices();
        EXPECT_EQ(object->SetPrimitiveGroup(0, 0, 3, 0, 3, 1, kPrimitiveTriangleList, kCullNone, kPartNumberId),
                  RES_OK);
        EXPECT_EQ(object->Unlock(1), RES_OK);
        return object;
    }
};

constexpr DWORD kHardware = D3DCREATE_HARDWARE_VERTEXPROCESSING;
constexpr DWORD kMixed = D3DCREATE_MIXED_VERTEXPROCESSING;
constexpr DWORD kSoftware = D3DCREATE_SOFTWARE_VERTEXPROCESSING;

} // namespace

// ---- Load and the present parameters -------------------------------------------------------

TEST_F(EngineDX81LoadTest, LoadMakesAWindowedHardwareDeviceAndPublishesItsState)
{
    ASSERT_EQ(m_rig->Load(), RES_OK);
    const CDX81State& state = Engine()->GetState();
    EXPECT_EQ(Data()->rendererState, &state);
    EXPECT_EQ(DX81DeviceOf(Data()), state.device);
    EXPECT_EQ(state.window, m_rig->Window());
    EXPECT_EQ(state.preferredFlags, kHardware);
    EXPECT_EQ(state.behaviourFlags, kHardware);
    EXPECT_EQ(state.referenceDevice, 0);

    const CD3D8DeviceInfo info = D3D8InspectDevice(state.device);
    EXPECT_EQ(info.type, D3DDEVTYPE_HAL);
    const D3DPRESENT_PARAMETERS& p = info.presentation;
    EXPECT_EQ(p.BackBufferWidth, 64u);
    EXPECT_EQ(p.BackBufferHeight, 64u);
    EXPECT_EQ(p.BackBufferFormat, state.desktopMode.Format);
    EXPECT_EQ(p.BackBufferCount, 1u);
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(p.hDeviceWindow, m_rig->Window());
    EXPECT_TRUE(p.Windowed);
    EXPECT_TRUE(p.EnableAutoDepthStencil);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D24S8);
    EXPECT_EQ(p.Flags, D3DPRESENTFLAG_LOCKABLE_BACKBUFFER);
    EXPECT_EQ(p.FullScreen_PresentationInterval, D3DPRESENT_INTERVAL_DEFAULT);

    EXPECT_EQ(Data()->desktopWidth, state.desktopMode.Width);
    EXPECT_EQ(Data()->maxTextureWidth, state.caps.MaxTextureWidth);
    EXPECT_EQ(Data()->maxTextureHeight, state.caps.MaxTextureHeight);
    EXPECT_NE(dynamic_cast<C3DCameraDX81*>(Engine()->GetCamera()), nullptr);
}

TEST_F(EngineDX81LoadTest, AWindowWithVSyncCopiesOnTheBlank)
{
    Data()->vSync = 1;
    ASSERT_EQ(m_rig->Load(), RES_OK);
    const D3DPRESENT_PARAMETERS p = D3D8InspectDevice(Device()).presentation;
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_COPY_VSYNC);
    EXPECT_EQ(p.FullScreen_PresentationInterval, D3DPRESENT_INTERVAL_DEFAULT);
}

TEST_F(EngineDX81Test, FullScreenPicksTheFormatByColourBitsAndTheIntervalByVSync)
{
    const uint16_t width = static_cast<uint16_t>(GetSystemMetrics(SM_CXSCREEN));
    const uint16_t height = static_cast<uint16_t>(GetSystemMetrics(SM_CYSCREEN));
    Data()->vSync = 1;
    ASSERT_EQ(Engine()->Init(m_rig->Window(), width, height, 1, 32, 0), RES_OK);
    D3DPRESENT_PARAMETERS p = D3D8InspectDevice(Device()).presentation;
    EXPECT_FALSE(p.Windowed);
    EXPECT_EQ(p.BackBufferWidth, width);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(p.FullScreen_PresentationInterval, D3DPRESENT_INTERVAL_ONE);
    EXPECT_EQ(Data()->fullscreen, 1);

    Data()->vSync = 0;
    ASSERT_EQ(Engine()->Init(m_rig->Window(), width, height, 1, 24, 0), RES_OK);
    p = D3D8InspectDevice(Device()).presentation;
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(p.FullScreen_PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);

    ASSERT_EQ(Engine()->Init(m_rig->Window(), 48, 40, 0, 32, 0), RES_OK);
    p = D3D8InspectDevice(Device()).presentation;
    EXPECT_TRUE(p.Windowed);
    EXPECT_EQ(p.BackBufferWidth, 48u);
    EXPECT_EQ(p.BackBufferFormat, Engine()->GetState().desktopMode.Format);
    EXPECT_EQ(p.FullScreen_PresentationInterval, D3DPRESENT_INTERVAL_DEFAULT);
    EXPECT_EQ(Data()->configuredWidth, 48);
    EXPECT_EQ(D3D8InspectDevice(Device()).stats.resets, 3u);
    EXPECT_EQ(Engine()->Init(nullptr, 48, 40, 0, 32, 0), RES_NO_WINDOW);
}

// ---- Device creation -----------------------------------------------------------------------

TEST_F(EngineDX81LoadTest, DeviceCreationTriesTheBehaviourFlagsInOrder)
{
    D3D8FailCreateDevice(D3DDEVTYPE_HAL, kHardware, D3DERR_NOTAVAILABLE);
    D3D8TraceStart();
    ASSERT_EQ(m_rig->Load(), RES_OK);
    const std::vector<std::pair<uint64_t, uint64_t>> expected = {
        {D3DDEVTYPE_HAL, kHardware}, {D3DDEVTYPE_HAL, kHardware}, {D3DDEVTYPE_HAL, kMixed}};
    EXPECT_EQ(CreateTries(), expected);
    EXPECT_EQ(Engine()->GetState().behaviourFlags, kMixed);
    EXPECT_EQ(D3D8InspectDevice(Device()).behaviourFlags, kMixed);
}

TEST_F(EngineDX81LoadTest, RefusedHardwareFallsBackToTheReferenceDevice)
{
    for (DWORD flags : {kHardware, kMixed, kSoftware})
        D3D8FailCreateDevice(D3DDEVTYPE_HAL, flags, D3DERR_NOTAVAILABLE);
    D3D8TraceStart();
    ASSERT_EQ(m_rig->Load(), RES_OK);
    const std::vector<std::pair<uint64_t, uint64_t>> expected = {{D3DDEVTYPE_HAL, kHardware},
                                                                 {D3DDEVTYPE_HAL, kHardware},
                                                                 {D3DDEVTYPE_HAL, kMixed},
                                                                 {D3DDEVTYPE_HAL, kSoftware},
                                                                 {D3DDEVTYPE_REF, kHardware}};
    EXPECT_EQ(CreateTries(), expected);
    EXPECT_EQ(Engine()->GetState().referenceDevice, 1);
    EXPECT_EQ(D3D8InspectDevice(Device()).type, D3DDEVTYPE_REF);
}

TEST_F(EngineDX81LoadTest, ADeviceThatIsNotReadyIsReleasedBeforeTheNextTry)
{
    D3D8StartLost(D3DDEVTYPE_HAL, kHardware, D3D8Loss::Lost);
    D3D8TraceStart();
    ASSERT_EQ(m_rig->Load(), RES_OK);
    EXPECT_EQ(Engine()->GetState().behaviourFlags, kMixed);
    const std::vector<CD3D8TraceCall> releases = Calls("IDirect3DDevice8::Release");
    ASSERT_EQ(releases.size(), 2u);
    EXPECT_EQ(releases[0].result, 0);
    EXPECT_EQ(releases[1].result, 0);
}

TEST_F(EngineDX81LoadTest, NoDeviceAtAllFailsWithTheDetailAndUnloadReleasesOnlyWhatWasMade)
{
    FailEverywhere({kHardware, kMixed, kSoftware});
    Data()->lastError = 0;
    EXPECT_EQ(m_rig->Load(), RES_NO_DEVICE);
    EXPECT_EQ(Data()->lastError, RES_NO_DEVICE);
    EXPECT_EQ(WString(Data()->errorDetail), WString(u"No compatible DirectX 8.1 was found"));
    EXPECT_EQ(Engine()->GetState().device, nullptr);
    EXPECT_EQ(Engine()->GetCamera(), nullptr);

    D3D8TraceStart();
    EXPECT_EQ(Engine()->Unload(), RES_OK);
    ASSERT_EQ(D3D8TraceCalls().size(), 1u);
    EXPECT_EQ(D3D8TraceCalls()[0].name, "IDirect3D8::Release");
    EXPECT_EQ(D3D8TraceCalls()[0].result, 0);
    EXPECT_EQ(Engine()->GetState().direct3D, nullptr);
}

TEST_F(EngineDX81LoadTest, WithoutDirect3DTheDetailNamesTheModuleAndNothingIsReleased)
{
    D3D8FailDirect3DCreate(true);
    EXPECT_EQ(m_rig->Load(), RES_NO_DEVICE);
    EXPECT_EQ(Data()->lastError, RES_NO_DEVICE);
    EXPECT_EQ(WString(Data()->errorDetail), WString(u"No compatible DirectX 8.1 was found"));
    D3D8TraceStart();
    EXPECT_EQ(Engine()->Unload(), RES_OK);
    EXPECT_TRUE(D3D8TraceCalls().empty());
}

TEST_F(EngineDX81LoadTest, LoadWithoutAWindowFails)
{
    D3D8TraceStart();
    EXPECT_EQ(Engine()->Load(nullptr), RES_NO_WINDOW);
    EXPECT_EQ(Data()->lastError, RES_NO_WINDOW);
    EXPECT_EQ(Engine()->Unload(), RES_OK);
    EXPECT_TRUE(D3D8TraceCalls().empty());
}

TEST_F(EngineDX81LoadTest, TheRegistryFunctionMakesTheEngine)
{
    CWorldData data{};
    CBaseObject* module = CreateRendererDX81(&data);
    C3DEngineDX81* engine = dynamic_cast<C3DEngineDX81*>(module);
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(data.rendererState, &engine->GetState());
    delete module;
    EXPECT_EQ(data.rendererState, nullptr);
}

// ---- Unload --------------------------------------------------------------------------------

TEST_F(EngineDX81Test, UnloadReleasesObjectsBuffersAndTexturesBeforeTheDeviceOnce)
{
    MakeTriangle();
    ASSERT_NE(Engine()->CreateIndexBuffer(6, kIndexKind32), nullptr);
    C3DTexture* texture = Engine()->CreateTexture(0, 0);
    const uint8_t pixel[4] = {1, 2, 3, 4};
    ASSERT_EQ(texture->Create(1, 1, 32, pixel, nullptr), RES_OK);
    const UINT live = D3D8InspectDevice(Device()).liveResources;
    EXPECT_EQ(live, 3u);  // the object's vertex and index buffers, the texture

    D3D8TraceStart();
    EXPECT_EQ(m_rig->Unload(), static_cast<uint32_t>(kListObjects | kListObjectsIndex | kListTextures));
    // Each resource lets go of the device as it goes; then the engine releases the Direct3D
    // object and the device, whose own hold on the Direct3D object goes last.
    std::vector<std::string> releases;
    for (const CD3D8TraceCall& call : D3D8TraceCalls()) {
        if (call.name.find("::Release") != std::string::npos)
            releases.push_back(call.name.substr(0, call.name.find("::")) + " " + std::to_string(call.result));
    }
    const std::vector<std::string> expected = {"IDirect3DDevice8 3", "IDirect3DDevice8 2", "IDirect3DDevice8 1",
                                               "IDirect3D8 1", "IDirect3DDevice8 0", "IDirect3D8 0"};
    EXPECT_EQ(releases, expected);
    EXPECT_EQ(Engine()->GetState().device, nullptr);
    EXPECT_EQ(Engine()->GetCamera(), nullptr);
}

// ---- Frames --------------------------------------------------------------------------------

TEST_F(EngineDX81Test, AFrameClearsBeginsLightsAndPresents)
{
    Data()->clearColor = 0x00123456;
    D3D8TraceStart();
    ASSERT_EQ(Engine()->BeginFrame(), RES_OK);
    ASSERT_EQ(Engine()->EndFrame(), RES_OK);
    const std::vector<std::string> expected = {"TestCooperativeLevel()",
                                               "Clear(0, 7, 1193046, 1065353216, 0)",
                                               "BeginScene()",
                                               "LightEnable(0, 0)",
                                               "LightEnable(1, 0)",
                                               "SetTransform(3, 1)",
                                               "SetTransform(2, 1)",
                                               "EndScene()",
                                               "Present(0, 0, 0, 0)"};
    EXPECT_EQ(Sequence(), expected);
    EXPECT_EQ(m_rig->ReadPixel(10, 10).g, 0x34);
}

TEST_F(EngineDX81Test, ALostDeviceSkipsTheFrameAndWaits)
{
    D3D8SetLoss(Device(), D3D8Loss::Lost);
    D3D8TraceStart();
    EXPECT_EQ(Engine()->BeginFrame(), RES_FAIL);
    EXPECT_EQ(g_slept, 100u);
    EXPECT_EQ(Sequence(), std::vector<std::string>{"TestCooperativeLevel()"});
}

TEST_F(EngineDX81Test, ADeviceToResetIsResetAndItsObjectsRestored)
{
    C3DObject* object = MakeTriangle();
    auto* dx = static_cast<C3DObjectDX81*>(object);
    const DWORD block = dx->GetStateBlock();
    ASSERT_NE(block, 0u);
    D3D8SetLoss(Device(), D3D8Loss::NotReset);
    D3D8TraceStart();
    EXPECT_EQ(Engine()->BeginFrame(), RES_FAIL);
    D3D8TraceStop();

    const std::vector<std::string> walk = Sequence({"IDirect3DDevice8::SetRenderState",
                                                    "IDirect3DDevice8::SetTextureStageState",
                                                    "IDirect3DDevice8::SetTexture", "IDirect3DDevice8::LightEnable",
                                                    "IDirect3DDevice8::SetViewport"});
    const std::vector<std::string> expected = {"TestCooperativeLevel()",
                                               "DeleteStateBlock(" + std::to_string(block) + ")", "Reset(1)",
                                               "BeginStateBlock()",
                                               "EndStateBlock(" + std::to_string(block + 1) + ")"};
    EXPECT_EQ(walk, expected);
    EXPECT_EQ(D3D8InspectDevice(Device()).stats.resets, 1u);
    EXPECT_NE(dx->GetStateBlock(), 0u);
    ASSERT_EQ(object->Lock(), RES_OK);
    EXPECT_EQ(object->GetIndex(2), 2u);
    EXPECT_EQ(object->Unlock(0), RES_OK);
    EXPECT_EQ(Engine()->BeginFrame(), RES_OK);
    EXPECT_EQ(Engine()->EndFrame(), RES_OK);
}

TEST_F(EngineDX81Test, AFailedPresentGoesToTheDeviceErrorAndTheFrameFails)
{
    ASSERT_EQ(Engine()->BeginFrame(), RES_OK);
    D3D8SetLoss(Device(), D3D8Loss::Lost);
    EXPECT_EQ(Engine()->EndFrame(), RES_FAIL);
    EXPECT_EQ(g_slept, 100u);
    EXPECT_EQ(Engine()->OnDeviceError(E_FAIL), RES_FAIL);
}

TEST_F(EngineDX81Test, ARefusedResetIsTriedOnceMoreWhenTheDeviceAllowsIt)
{
    D3D8FailResets(Device(), 1, D3DERR_DEVICENOTRESET);
    D3D8TraceStart();
    EXPECT_EQ(Engine()->Init(m_rig->Window(), 64, 64, 0, 32, 1), RES_OK);
    const std::vector<CD3D8TraceCall> resets = Calls("IDirect3DDevice8::Reset");
    ASSERT_EQ(resets.size(), 2u);
    EXPECT_EQ(resets[0].result, D3DERR_DEVICENOTRESET);
    EXPECT_EQ(resets[1].result, D3D_OK);
    EXPECT_EQ(Calls("IDirect3DDevice8::TestCooperativeLevel").size(), 1u);
    EXPECT_EQ(g_slept, 0u);
}

TEST_F(EngineDX81Test, AResetRefusedTwiceFailsAfterWaitingASecond)
{
    D3D8FailResets(Device(), 2, D3DERR_DEVICELOST);
    Data()->lastError = 0;
    D3D8TraceStart();
    EXPECT_EQ(Engine()->Init(m_rig->Window(), 64, 64, 0, 32, 1), RES_NO_DEVICE);
    EXPECT_EQ(Data()->lastError, RES_NO_DEVICE);
    EXPECT_EQ(Calls("IDirect3DDevice8::TestCooperativeLevel").size(), 10u);
    EXPECT_EQ(Calls("IDirect3DDevice8::Reset").size(), 2u);
    EXPECT_EQ(g_slept, 1000u);
}

// ---- Lights, fog, stencil ------------------------------------------------------------------

TEST_F(EngineDX81Test, DirectionalAndPointLights)
{
    CLightRecord& sun = Data()->lights[0];
    sun.enable[0] = 1;
    sun.type = 0;
    sun.position[2] = -5000.0f;
    sun.diffuseIntensity = 0.5f;
    sun.specularIntensity = 0.25f;
    sun.ambientIntensity = 0.125f;
    CLightRecord& lamp = Data()->lights[1];
    lamp.enable[0] = 1;
    lamp.type = 1;
    lamp.position[1] = 7.0f;
    lamp.direction[0] = 9.0f;
    ASSERT_EQ(Engine()->LightingInit(0xFFFFFFFFu), RES_OK);

    EXPECT_EQ(sun.direction[2], 1.0f);
    const CD3D8State& state = D3D8InspectState(Device());
    const D3DLIGHT8& sunLight = state.lights.at(0).light;
    EXPECT_TRUE(state.lights.at(0).enabled);
    EXPECT_EQ(sunLight.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(sunLight.Direction.z, 1.0f);
    EXPECT_EQ(sunLight.Position.z, -5000.0f);
    EXPECT_EQ(sunLight.Diffuse.g, 0.5f);
    EXPECT_EQ(sunLight.Diffuse.a, 0.0f);
    EXPECT_EQ(sunLight.Specular.b, 0.25f);
    EXPECT_EQ(sunLight.Ambient.r, 0.125f);
    EXPECT_EQ(sunLight.Range, std::sqrt(FLT_MAX));
    EXPECT_EQ(sunLight.Attenuation0, 1.0f);
    EXPECT_EQ(sunLight.Attenuation1, 0.0f);

    EXPECT_EQ(lamp.direction[0], 0.0f);
    EXPECT_EQ(state.lights.at(1).light.Type, D3DLIGHT_POINT);
    EXPECT_EQ(state.lights.at(1).light.Position.y, 7.0f);

    // A disabled record leaves the description as it was and switches the light off.
    lamp.enable[0] = 0;
    lamp.position[1] = 99.0f;
    D3D8TraceStart();
    EXPECT_EQ(Engine()->LightInit(1), RES_OK);
    EXPECT_EQ(Sequence(), std::vector<std::string>{"LightEnable(1, 0)"});
    EXPECT_EQ(Engine()->GetState().lights[1].Position.y, 7.0f);
    EXPECT_FALSE(D3D8InspectState(Device()).lights.at(1).enabled);
    EXPECT_EQ(Engine()->LightInit(2), RES_FAIL);
}

TEST_F(EngineDX81Test, FogOnADeviceWithTableFog)
{
    CFogRecord& fog = Data()->fog;
    fog.enable[0] = fog.enable[1] = 1;
    fog.color = 0xFF336699;
    fog.start = 10.0f;
    fog.end = 500.0f;
    fog.density = 0.25f;
    fog.tableMode = D3DFOG_LINEAR;
    ASSERT_EQ(Engine()->FogingInit(), RES_OK);
    const CD3D8State& state = D3D8InspectState(Device());
    EXPECT_EQ(state.Render(D3DRS_FOGCOLOR), 0xFF336699u);
    EXPECT_EQ(state.RenderFloat(D3DRS_FOGSTART), 10.0f);
    EXPECT_EQ(state.RenderFloat(D3DRS_FOGEND), 500.0f);
    EXPECT_EQ(state.RenderFloat(D3DRS_FOGDENSITY), 0.25f);
    EXPECT_EQ(state.Render(D3DRS_FOGVERTEXMODE), static_cast<DWORD>(D3DFOG_NONE));
    EXPECT_EQ(state.Render(D3DRS_FOGTABLEMODE), static_cast<DWORD>(D3DFOG_LINEAR));
    EXPECT_EQ(fog.flag1, 1);
    EXPECT_EQ(fog.enable[0], 1);
    EXPECT_EQ(Engine()->PointSpriteInit(), RES_OK);
}

TEST_F(EngineDX81LoadTest, FogIsDroppedOnDevicesThatCannotDrawIt)
{
    D3DCAPS8 caps = D3D8OwnCaps(D3DDEVTYPE_HAL);
    caps.RasterCaps &= ~D3DPRASTERCAPS_WFOG;
    D3D8OverrideCaps(&caps);
    ASSERT_EQ(m_rig->Load(), RES_OK);
    CFogRecord& fog = Data()->fog;
    fog.enable[0] = fog.enable[1] = 1;
    D3D8TraceStart();
    ASSERT_EQ(Engine()->FogingInit(), RES_OK);
    EXPECT_TRUE(D3D8TraceCalls().empty());
    EXPECT_EQ(fog.enable[0], 0);
    EXPECT_EQ(fog.enable[1], 0);
}

TEST_F(EngineDX81LoadTest, WFogWithoutTableFogSetsTheColourThenDropsTheFog)
{
    D3DCAPS8 caps = D3D8OwnCaps(D3DDEVTYPE_HAL);
    caps.RasterCaps &= ~D3DPRASTERCAPS_FOGTABLE;
    D3D8OverrideCaps(&caps);
    ASSERT_EQ(m_rig->Load(), RES_OK);
    CFogRecord& fog = Data()->fog;
    fog.enable[0] = fog.enable[1] = 1;
    fog.flag1 = 1;
    fog.color = 0xFF010203;
    ASSERT_EQ(Engine()->FogingInit(), RES_OK);
    EXPECT_EQ(D3D8InspectState(Device()).Render(D3DRS_FOGCOLOR), 0xFF010203u);
    EXPECT_EQ(fog.flag1, 0);
    EXPECT_EQ(fog.enable[0], 0);
    EXPECT_EQ(fog.enable[1], 0);
}

TEST_F(EngineDX81LoadTest, StencilShadowsNeedEveryStencilOperationButSaturatedIncrement)
{
    D3DCAPS8 caps = D3D8OwnCaps(D3DDEVTYPE_HAL);
    caps.StencilCaps &= ~D3DSTENCILCAPS_INCRSAT;
    D3D8OverrideCaps(&caps);
    ASSERT_EQ(m_rig->Load(), RES_OK);
    EXPECT_TRUE(Engine()->IsStencilShadowSupported());
    m_rig->Unload();

    D3D8RendererTestRig second;
    caps.StencilCaps &= ~D3DSTENCILCAPS_DECR;
    D3D8OverrideCaps(&caps);
    ASSERT_EQ(second.Load(), RES_OK);
    EXPECT_FALSE(second.Engine()->IsStencilShadowSupported());
}

// ---- Factories -----------------------------------------------------------------------------

TEST_F(EngineDX81Test, FactoriesPickTheClassOrRefuse)
{
    C3DObject* normal = Engine()->CreateObject(0x12, 0);
    EXPECT_NE(dynamic_cast<C3DObjectDX81NormalTex*>(normal), nullptr);
    EXPECT_NE(dynamic_cast<C3DObjectDX81Color*>(Engine()->CreateObject(0x18, 0)), nullptr);
    Data()->lastError = 0;
    EXPECT_EQ(Engine()->CreateObject(0x20, 0), nullptr);
    EXPECT_EQ(Data()->lastError, RES_UNKNOWN_KIND);
    Data()->lastError = 0x1234;
    EXPECT_EQ(Engine()->CreateIndexBuffer(6, 3), nullptr);
    EXPECT_EQ(Data()->lastError, 0x1234);
    EXPECT_EQ(Engine()->GetObjectCount(), 2u);

    ASSERT_NE(Engine()->CreateShader(1, 0), nullptr);
    ASSERT_NE(Engine()->CreateStencilShadow(2, 0x80000000u), nullptr);
    EXPECT_EQ(Engine()->GetShaderCount(), 2u);
    EXPECT_EQ(Engine()->GetStencilShadowCount(), 0u);
    EXPECT_EQ(Engine()->DestroyObject(normal), RES_OK);
    EXPECT_EQ(Engine()->GetObjectCount(), 1u);
}

// The full-screen switch of the main window: the device is kept through Uninit(1), the window
// replaced, and Init with restore moves the device onto the new window with its objects.
TEST_F(EngineDX81Test, AModeSwitchMovesTheDeviceOntoANewWindowWithItsObjects)
{
    C3DObject* object = MakeTriangle();
    auto* dx = static_cast<C3DObjectDX81*>(object);
    ASSERT_EQ(Engine()->Uninit(1), RES_OK);
    EXPECT_EQ(dx->GetStateBlock(), 0u);
    DestroyWindow(m_rig->Window());

    const std::u16string className = Utf8ToUtf16("EngineDX81Switch-" + std::to_string(getpid()));
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = className.c_str();
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, className.c_str(), u"Switched", 0x06CA0000, 0, 0, 96, 80, GetDesktopWindow(),
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    ASSERT_EQ(Engine()->Init(window, 96, 80, 0, 32, 1), RES_OK);
    EXPECT_EQ(Engine()->GetState().window, window);
    EXPECT_EQ(D3D8InspectDevice(Device()).presentation.hDeviceWindow, window);
    EXPECT_NE(dx->GetStateBlock(), 0u);
    EXPECT_EQ(D3D8InspectState(Device()).viewport.Width, 96u);

    Data()->clearColor = 0x00204060;
    ASSERT_EQ(Engine()->BeginFrame(), RES_OK);
    EXPECT_EQ(object->Render(), RES_OK);
    ASSERT_EQ(Engine()->EndFrame(), RES_OK);
    EXPECT_TRUE(NearlyEqual(m_rig->ReadPixel(90, 70), 0x20, 0x40, 0x60));

    m_rig->Unload();
    DestroyWindow(window);
    UnregisterClassW(className.c_str(), GetModuleHandleW(nullptr));
}
