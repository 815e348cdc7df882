#include "tests/support/WorldTestModules.h"

#include <algorithm>
#include <new>

#include "world/ModuleRegistry.h"
#include "core/WorldData.h"

CTestModuleConfig g_testModules;
std::vector<std::string> g_moduleCalls;

namespace {

void Note(const std::string& call)
{
    g_moduleCalls.push_back(call);
}

Result Record(const std::string& call, bool fail)
{
    Note(call);
    return fail ? RES_FAIL : RES_OK;
}

} // namespace

void ResetTestModules()
{
    g_testModules = CTestModuleConfig();
    g_moduleCalls.clear();
}

bool WasCalled(const std::string& call)
{
    return CallIndex(call) >= 0;
}

int CallIndex(const std::string& call)
{
    auto it = std::find(g_moduleCalls.begin(), g_moduleCalls.end(), call);
    return it == g_moduleCalls.end() ? -1 : static_cast<int>(it - g_moduleCalls.begin());
}

Result CTestCamera::Update()
{
    return Record("camera Update", false);
}

Result CTestCamera::SetGamma()
{
    return Record("camera SetGamma", false);
}

Result CTestCamera::ResetView()
{
    return Record("camera ResetView", false);
}

float CTestCamera::SetScreenRotation(uint32_t orientation)
{
    Note("camera SetScreenRotation " + std::to_string(orientation));
    return 0.0f;
}

Result CTestCamera::SetViewport(int32_t x, int32_t y, uint32_t width, uint32_t height)
{
    return Record("camera SetViewport " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) +
                      " " + std::to_string(height),
                  false);
}

CTest3DEngine::~CTest3DEngine()
{
    delete m_pCamera;
}

Result CTest3DEngine::Load(WindowHandle)
{
    if (g_testModules.makeCamera && !m_pCamera)
        m_pCamera = new CTestCamera(m_pWorldData);
    return Record("3D Load", g_testModules.fail3DLoad);
}

Result CTest3DEngine::Unload()
{
    return Record("3D Unload", false);
}

Result CTest3DEngine::Init(WindowHandle, uint16_t width, uint16_t height, uint8_t fullscreen, uint8_t, uint8_t restore)
{
    return Record("3D Init " + std::to_string(width) + " " + std::to_string(height) + " " + std::to_string(fullscreen) +
                      " " + std::to_string(restore),
                  false);
}

Result CTest3DEngine::Uninit(uint8_t release)
{
    return Record("3D Uninit " + std::to_string(release), false);
}

Result CTest3DEngine::LightInit(uint32_t index)
{
    return Record("3D LightInit " + std::to_string(index), false);
}

Result CTest3DEngine::LightingInit(uint32_t count)
{
    return Record("3D LightingInit " + std::to_string(count), g_testModules.failLighting);
}

Result CTest3DEngine::PointSpriteInit()
{
    return Record("3D PointSpriteInit", g_testModules.failPointSprite);
}

Result CTest3DEngine::FogingInit()
{
    return Record("3D FogingInit", g_testModules.failFoging);
}

Result CTest3DEngine::BeginFrame()
{
    return Record("3D BeginFrame", g_testModules.failBeginFrame);
}

Result CTest3DEngine::EndFrame()
{
    return Record("3D EndFrame", false);
}

Result CTestAudio::Load(void*)
{
    return Record("audio Load", g_testModules.failAudioLoad);
}

Result CTestAudio::Unload()
{
    Note("audio Unload");
    return CAudioEngine::Unload();
}

Result CTestInput::Load(WindowHandle)
{
    return Record("input Load", g_testModules.failInputLoad);
}

Result CTestInput::Unload()
{
    return Record("input Unload", false);
}

Result CTestNetwork::Load(WindowHandle)
{
    return Record("network Load", g_testModules.failNetworkLoad);
}

Result CTestNetwork::Unload()
{
    Note("network Unload");
    return CNetworkEngine::Unload();
}

CBaseObject* CreateTest3D(CWorldData* data)
{
    return new (std::nothrow) CTest3DEngine(data);
}

CBaseObject* CreateTestAudio(CWorldData* data)
{
    return new (std::nothrow) CTestAudio(data);
}

CBaseObject* CreateTestInput(CWorldData*)
{
    return new (std::nothrow) CTestInput();
}

CBaseObject* CreateTestNetwork(CWorldData* data)
{
    return new (std::nothrow) CTestNetwork(data);
}

CBaseObject* CreateNothing(CWorldData*)
{
    return nullptr;
}

CBaseObject* CreateWrongClass(CWorldData*)
{
    return new (std::nothrow) CTestInput();
}

void ReleaseTestModule(CBaseObject* module)
{
    if (dynamic_cast<C3DEngine*>(module))
        g_moduleCalls.push_back("release 3D");
    else if (dynamic_cast<CAudioEngine*>(module))
        g_moduleCalls.push_back("release audio");
    else if (dynamic_cast<CNetworkEngine*>(module))
        g_moduleCalls.push_back("release network");
    else if (dynamic_cast<CInputEngine*>(module))
        g_moduleCalls.push_back("release input");
    else
        g_moduleCalls.push_back("release other");
    delete module;
}

void ChooseTestModule(CWorldData* data, uint32_t kind, ModuleCreate create)
{
    static const uint32_t kIds[kModuleKindCount] = {kModuleId3DOpenGL, kModuleIdAudioDX81, 1, kModuleIdNetworkOS};
    data->chosenModules[kind] = CModuleEntry{FindModuleDescriptor(kind, kIds[kind]), create, ReleaseTestModule};
}

void ChooseAllTestModules(CWorldData* data)
{
    ChooseTestModule(data, kModule3D, CreateTest3D);
    ChooseTestModule(data, kModuleAudio, CreateTestAudio);
    ChooseTestModule(data, kModuleInput, CreateTestInput);
    ChooseTestModule(data, kModuleNetwork, CreateTestNetwork);
}
