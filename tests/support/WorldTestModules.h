#pragma once
#include <string>
#include <vector>

#include "modules/AudioEngine.h"
#include "modules/NetworkEngine.h"
#include "modules/InputEngine.h"
#include "core/ModuleTypes.h"
#include "engine3d/Camera.h"
#include "engine3d/Engine.h"

// Modules for world tests: each records its calls in one shared log, and fails where told.
struct CTestModuleConfig {
    bool fail3DLoad = false;
    bool failFoging = false;
    bool failPointSprite = false;
    bool failLighting = false;
    bool failBeginFrame = false;
    bool failAudioLoad = false;
    bool failInputLoad = false;
    bool failNetworkLoad = false;
    bool makeCamera = true;
};

extern CTestModuleConfig g_testModules;
extern std::vector<std::string> g_moduleCalls;

// Clears the log and the configuration.
void ResetTestModules();
bool WasCalled(const std::string& call);
// Position of a call in the log, or -1.
int CallIndex(const std::string& call);

class CTestCamera : public C3DCamera {
public:
    explicit CTestCamera(CWorldData* data) : C3DCamera(data) {}
    Result Update() override;
    Result SetGamma() override;
    Result ResetView() override;
    float SetScreenRotation(uint32_t orientation) override;
    Result SetViewport(int32_t x, int32_t y, uint32_t width, uint32_t height) override;
};

class CTest3DEngine : public C3DEngine {
public:
    explicit CTest3DEngine(CWorldData* data) : C3DEngine(data) {}
    ~CTest3DEngine() override;
    Result Load(WindowHandle window) override;
    Result Unload() override;
    Result Init(WindowHandle window, uint16_t width, uint16_t height, uint8_t fullscreen, uint8_t colorBits,
                uint8_t restore) override;
    Result Uninit(uint8_t release) override;
    Result LightInit(uint32_t index) override;
    Result LightingInit(uint32_t count) override;
    Result PointSpriteInit() override;
    Result FogingInit() override;
    Result BeginFrame() override;
    Result EndFrame() override;
    C3DObject* CreateObject(uint32_t, uint32_t) override { return nullptr; }
    C3DObjectIndex* CreateIndexBuffer(uint32_t, uint32_t) override { return nullptr; }
    C3DTexture* CreateTexture(uint32_t, uint32_t) override { return nullptr; }
    C3DShader* CreateShader(uint32_t, uint32_t) override { return nullptr; }
    C3DStencilShadow* CreateStencilShadow(uint32_t, uint32_t) override { return nullptr; }
    bool IsStencilShadowSupported() override { return false; }
};

class CTestAudio : public CAudioEngine {
public:
    explicit CTestAudio(CWorldData* data) : CAudioEngine(data) {}
    Result Load(void* window) override;
    Result Unload() override;
};

class CTestInput : public CInputEngine {
public:
    Result Load(WindowHandle window) override;
    Result Unload() override;
};

class CTestNetwork : public CNetworkEngine {
public:
    explicit CTestNetwork(CWorldData* data) : CNetworkEngine(data) {}
    Result Load(WindowHandle window) override;
    Result Unload() override;
};

CBaseObject* CreateTest3D(CWorldData* data);
CBaseObject* CreateTestAudio(CWorldData* data);
CBaseObject* CreateTestInput(CWorldData* data);
CBaseObject* CreateTestNetwork(CWorldData* data);
// Create functions that make nothing, and one that makes a module of the wrong class.
CBaseObject* CreateNothing(CWorldData* data);
CBaseObject* CreateWrongClass(CWorldData* data);
// Records "release <kind>" and deletes the module.
void ReleaseTestModule(CBaseObject* module);

// Puts a chosen record of that kind and create function straight into the data block.
void ChooseTestModule(CWorldData* data, uint32_t kind, ModuleCreate create);
// The 3D, audio, input and network test modules, all chosen.
void ChooseAllTestModules(CWorldData* data);
