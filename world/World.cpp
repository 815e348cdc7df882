#include "world/World.h"

#include <cmath>
#include <cstring>
#include <new>

#include "modules/AudioEngine.h"
#include "modules/NetworkEngine.h"
#include "core/EngineSettings.h"
#include "core/FrameTimer.h"
#include "modules/InputEngine.h"
#include "core/KeyCodes.h"
#include "core/Log.h"
#include "core/Math3D.h"
#include "world/ModuleRegistry.h"
#include "core/ParamsReader.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
#include "world/WorldParameters.h"
#include "engine3d/Camera.h"
#include "engine3d/Engine.h"
#include "platform/win32/Win32Window.h"

namespace {

constexpr uint32_t kDataBlockWord = 0x30000;
constexpr uint32_t kAllLights = 0xFFFFFFFFu;
constexpr int kLeft = 0;
constexpr int kMiddle = 1;
constexpr int kRight = 2;

uint16_t Scaled(uint16_t size, float factor)
{
    return static_cast<uint16_t>(std::floor(static_cast<float>(size) * factor));
}

float Ratio(uint16_t numerator, uint16_t denominator)
{
    return denominator ? static_cast<float>(numerator) / static_cast<float>(denominator) : 0.0f;
}

// The chosen module of a kind, made by its record and checked to be of the expected class.
template <class Module>
ModulePtr<Module> CreateChosen(CWorldData* data, uint32_t kind)
{
    const CModuleEntry& entry = data->chosenModules[kind];
    CModuleReleaser releaser{entry.release};
    CBaseObject* made = entry.create(data);
    auto* module = dynamic_cast<Module*>(made);
    if (made && !module)
        releaser(made);
    return ModulePtr<Module>(module, releaser);
}

// Unloads a module and hands it to its record's release function.
template <class Module>
void ReleaseChosen(ModulePtr<Module>& module)
{
    if (!module)
        return;
    IgnoreResult(module->Unload());
    module.reset();
}

// Loads an optional module; a failure is not fatal: the detail is set and the module dropped.
template <class Module>
void LoadOptional(CWorldData* data, ModulePtr<Module>& module, WindowHandle window, const char16_t* detail)
{
    if (!module || Succeeded(module->Load(window)))
        return;
    WStrCopy(data->errorDetail, kMaxPathUnits, detail);
    LogPrintf(data->logPath, 0, u"# CWorld::Load warning! %s\n", data->errorDetail);
    ReleaseChosen(module);
}

} // namespace

void CModuleReleaser::operator()(CBaseObject* module) const
{
    if (release)
        release(module);
    else
        delete module;
}

CWorld::CWorld() : m_pData(new (std::nothrow) CWorldData())
{
    if (!m_pData)
        return;
    m_pData->dataRootPrefixLength = -1;
    m_pData->scaleX = 1.0f;
    m_pData->scaleY = 1.0f;
    m_pData->scaleZ = 1.0f;
    m_pData->word30000 = kDataBlockWord;
    m_pData->world = this;
}

CWorld::~CWorld()
{
    IgnoreResult(CWorld::Release());
    delete m_pData;
}

Result CWorld::SetParameters(CParamsReader* engineParams, CParamsReader* gameParams, MemoryLookup memoryLookup,
                             const char16_t* pakPath, uint32_t pakStartOffset, PackerLookup pakLookup,
                             const char16_t* logPath)
{
    return SetWorldParameters(m_pData, engineParams, gameParams, memoryLookup, pakPath, pakStartOffset, pakLookup,
                              logPath);
}

Result CWorld::Load(WindowHandle window, uint16_t width, uint16_t height, uint8_t colorDepth, uint8_t fullscreen,
                    uint8_t resizable, uint8_t vSync, uint32_t orientation, const char16_t*, uint16_t, uint16_t)
{
    CWorldData* data = m_pData;
    if (!data)
        return RES_OUT_OF_MEMORY;
    data->configuredWidth = width;
    data->configuredHeight = height;
    data->workingWidth = Scaled(width, data->scaleX);
    data->workingHeight = Scaled(height, data->scaleY);
    data->fullscreen = fullscreen;
    data->resizable = resizable;
    data->vSync = vSync;
    data->colorDepth = colorDepth;
    data->orientation = orientation;
    data->recreating = 0;
    data->renderingEnabled = 1;
    data->mainWindow = window;
    LogPrintf(data->logPath, 0,
              u"# Resolutions: virtual (%dx%d:%d [%.02f]) / real (%dx%d [%.02f]) / factor (%.02f x %.02f) / resizable=%d / vsync=%d\n",
              width, height, colorDepth, Ratio(height, width), data->workingWidth, data->workingHeight,
              Ratio(data->workingHeight, data->workingWidth), data->scaleX, data->scaleY, resizable, vSync);

    if (!data->chosenModules[kModule3D].create) {
        WStrCopy(data->errorDetail, kMaxPathUnits, u"The main module is not correctly registered");
        LogPrintf(data->logPath, 0, u"# CWorld::Load failed! %s\n", data->errorDetail);
        data->lastError = RES_NO_WINDOW;
        return RES_NO_WINDOW;
    }
    Result result = CreateModules();
    if (Succeeded(result))
        result = CreateHelpers();
    if (Failed(result))
        return result;

    for (int i = kMatrixProjection; i <= kMatrixCamera; ++i)
        m_pMath3D->Identity(&data->matrices[i]);
    data->matrices[kMatrixView] = data->matrices[kMatrixCamera];
    m_pMath3D->InvertInPlace(&data->matrices[kMatrixView]);
    ReadEngineSettings(data, data->engineParams);

    if (Failed(m_p3DEngine->Load(window))) {
        LogPrintf(data->logPath, 0, u"# CWorld::Load failed! m_p3DEngine failed !!!\n");
        return RES_FAIL;
    }
    LoadOptionalModules(window);
    result = Init3DEngine();
    if (Failed(result))
        return result;
    SetUpCamera();
    RandomSeed(data->random, 0);
    return RES_OK;
}

Result CWorld::CreateModules()
{
    CWorldData* data = m_pData;
    ReleaseModules();
    m_p3DEngine = CreateChosen<C3DEngine>(data, kModule3D);
    if (!m_p3DEngine) {
        LogPrintf(data->logPath, 0, u"# CWorld::Load failed! Can't install MODULE_3D !!!\n");
        data->lastError = RES_OUT_OF_MEMORY;
        return RES_OUT_OF_MEMORY;
    }
    if (data->chosenModules[kModuleAudio].create) {
        m_pAudioEngine = CreateChosen<CAudioEngine>(data, kModuleAudio);
        if (!m_pAudioEngine) {
            LogPrintf(data->logPath, 0, u"# CWorld::Load failed! Can't install MODULE_AUDIO !!!\n");
            return RES_FAIL;
        }
    }
    if (data->chosenModules[kModuleInput].create) {
        m_pInputEngine = CreateChosen<CInputEngine>(data, kModuleInput);
        if (!m_pInputEngine) {
            LogPrintf(data->logPath, 0, u"# CWorld::Load failed! Can't install MODULE_INPUT !!!\n");
            return RES_FAIL;
        }
    }
    if (data->chosenModules[kModuleNetwork].create) {
        m_pNetworkEngine = CreateChosen<CNetworkEngine>(data, kModuleNetwork);
        if (!m_pNetworkEngine) {
            LogPrintf(data->logPath, 0, u"# CWorld::Load failed! Can't install MODULE_NETWORK !!!\n");
            return RES_FAIL;
        }
    }
    return RES_OK;
}

Result CWorld::CreateHelpers()
{
    CWorldData* data = m_pData;
    if (!m_pMath3D)
        m_pMath3D.reset(new (std::nothrow) CMath3D());
    if (!m_pMath3D) {
        data->lastError = RES_OUT_OF_MEMORY;
        return RES_OUT_OF_MEMORY;
    }
    data->math = m_pMath3D.get();
    if (!m_pTimerFactor)
        m_pTimerFactor.reset(new (std::nothrow) CFrameTimer(data));
    if (!m_pTimerFactor) {
        data->lastError = RES_OUT_OF_MEMORY;
        return RES_OUT_OF_MEMORY;
    }
    if (Failed(m_pTimerFactor->Init())) {
        LogPrintf(data->logPath, 0, u"# CWorld::Load failed! m_pTimerFactor failed !!!\n");
        return RES_FAIL;
    }
    data->frameTimer = m_pTimerFactor.get();
    return RES_OK;
}

void CWorld::LoadOptionalModules(WindowHandle window)
{
    LoadOptional(m_pData, m_pAudioEngine, window, u"No audio device was found");
    LoadOptional(m_pData, m_pInputEngine, window, u"No input device was found");
    LoadOptional(m_pData, m_pNetworkEngine, window, u"No network device was found");
}

Result CWorld::Init3DEngine()
{
    CWorldData* data = m_pData;
    if (Failed(m_p3DEngine->FogingInit())) {
        LogPrintf(data->logPath, 0, u"# CWorld::Load failed! m_p3DEngine->FogingInit failed !!!\n");
        return RES_FAIL;
    }
    if (Failed(m_p3DEngine->PointSpriteInit())) {
        LogPrintf(data->logPath, 0, u"# CWorld::Load failed! m_p3DEngine->PointSpriteInit failed !!!\n");
        return RES_FAIL;
    }
    if (Failed(m_p3DEngine->LightingInit(kAllLights))) {
        LogPrintf(data->logPath, 0, u"# CWorld::Load failed! m_p3DEngine->LightingInit failed !!!\n");
        return RES_FAIL;
    }
    return RES_OK;
}

void CWorld::SetUpCamera()
{
    CWorldData* data = m_pData;
    C3DCamera* camera = m_p3DEngine->GetCamera();
    const CParamsReader* params = data->engineParams;
    if (camera && params && params->GetBool(u"GAMMA_CORRECTION", u"GAMMA_CORRECTION_ENABLE", 0))
        IgnoreResult(camera->SetGamma());
    m_pMath3D->Identity(&data->screenView);
    if (!camera)
        return;
    IgnoreResult(camera->ResetView());
    camera->SetScreenRotation(data->orientation);
    IgnoreResult(camera->SetViewport(0, 0, Scaled(data->configuredWidth, data->scaleX),
                                     Scaled(data->configuredHeight, data->scaleY)));
}

void CWorld::ReleaseModules()
{
    ReleaseChosen(m_p3DEngine);
    ReleaseChosen(m_pAudioEngine);
    ReleaseChosen(m_pInputEngine);
    ReleaseChosen(m_pNetworkEngine);
}

Result CWorld::Release()
{
    if (!m_pData)
        return RES_OK;
    ReleaseModules();
    if (m_pData->pakLookup && m_pData->pak.file)
        ClosePackerFile(&m_pData->pak);
    m_pTimerFactor.reset();
    m_pData->frameTimer = nullptr;
    m_pMath3D.reset();
    m_pData->math = nullptr;
    FreeModuleLists(m_pData);
    return RES_OK;
}

void CWorld::SetPointer(LPARAM lParam)
{
    m_pData->pointerX = static_cast<float>(LOWORD(static_cast<uintptr_t>(lParam)));
    m_pData->pointerY = static_cast<float>(HIWORD(static_cast<uintptr_t>(lParam)));
}

void CWorld::OnKeyDown(WPARAM virtualKey)
{
    uint8_t code = EngineKeyCode(virtualKey);
    m_pData->keyDown[code] = 1;
    m_pData->keyPressed[code] = 1;
    ++m_pData->keyPressedCount;
}

void CWorld::OnKeyUp(WPARAM virtualKey)
{
    uint8_t code = EngineKeyCode(virtualKey);
    if (m_pData->keyDown[code])
        m_pData->keyReleased[code] = 1;
    m_pData->keyDown[code] = 0;
    ++m_pData->keyReleasedCount;
}

void CWorld::OnButtonDown(int button, HWND window)
{
    SetCapture(window);
    m_pData->mouseDown[button] = 1;
    m_pData->mousePressed[button] = 1;
}

void CWorld::OnButtonUp(int button)
{
    int other1 = (button + 1) % kMouseButtonCount;
    int other2 = (button + 2) % kMouseButtonCount;
    if (!m_pData->mouseDown[other1] && !m_pData->mouseDown[other2])
        ReleaseCapture();
    if (m_pData->mouseDown[button])
        m_pData->mouseReleased[button] = 1;
    m_pData->mouseDown[button] = 0;
}

Result CWorld::OnMessage(CWorldMessage* message)
{
    if (!m_pData || !message)
        return RES_FAIL;
    switch (message->message) {
    case WM_KEYDOWN:
        if (!m_pInputEngine)
            OnKeyDown(message->wParam);
        break;
    case WM_KEYUP:
        if (!m_pInputEngine)
            OnKeyUp(message->wParam);
        break;
    case WM_CHAR:
        m_pData->lastChar = LOWORD(message->wParam);
        break;
    case WM_MOUSEMOVE:
        SetPointer(message->lParam);
        break;
    case WM_LBUTTONDOWN:
        SetPointer(message->lParam);
        m_pData->pressX = m_pData->pointerX;
        m_pData->pressY = m_pData->pointerY;
        OnButtonDown(kLeft, message->window);
        break;
    case WM_LBUTTONUP:
        OnButtonUp(kLeft);
        break;
    case WM_MBUTTONDOWN:
        OnButtonDown(kMiddle, message->window);
        break;
    case WM_MBUTTONUP:
        OnButtonUp(kMiddle);
        break;
    case WM_RBUTTONDOWN:
        OnButtonDown(kRight, message->window);
        break;
    case WM_RBUTTONUP:
        OnButtonUp(kRight);
        break;
    default:
        break;
    }
    return RES_FAIL;
}

Result CWorld::OnSize(uint16_t width, uint16_t height)
{
    if (!m_pData)
        return RES_FAIL;
    m_pData->workingWidth = width;
    m_pData->workingHeight = height;
    if (m_pData->configuredWidth && m_pData->configuredHeight) {
        m_pData->scaleX = static_cast<float>(width) / static_cast<float>(m_pData->configuredWidth);
        m_pData->scaleY = static_cast<float>(height) / static_cast<float>(m_pData->configuredHeight);
    }
    m_pData->scaleZ = 1.0f;
    C3DCamera* camera = m_p3DEngine ? m_p3DEngine->GetCamera() : nullptr;
    if (camera)
        IgnoreResult(camera->SetViewport(0, 0, width, height));
    if (m_pData->renderingEnabled == 0)
        m_pData->renderingEnabled = 2;
    return RES_OK;
}

Result CWorld::Update()
{
    C3DCamera* camera = m_p3DEngine ? m_p3DEngine->GetCamera() : nullptr;
    if (camera)
        IgnoreResult(camera->Update());
    return RES_OK;
}

Result CWorld::Render()
{
    return RES_OK;
}

Result CWorld::GetTitle(const char16_t*, const char16_t* fallback, char16_t* out, size_t capacity)
{
    WStrCopy(out, capacity, fallback ? fallback : u"");
    return RES_OK;
}

Result CWorld::LoadOptions(uint32_t)
{
    return RES_FAIL;
}

void CWorld::SetHostEventCallback(HostEventCallback callback)
{
    m_pfnHostEvent = callback;
}

Result CWorld::RaiseHostEvent(uint32_t event)
{
    if (!m_pfnHostEvent)
        return RES_FAIL;
    return m_pfnHostEvent(event, m_pData ? m_pData->mainWindow : nullptr);
}

void CWorld::ClearFrameEdges()
{
    CWorldData* data = m_pData;
    memset(data->keyReleased, 0, sizeof(data->keyReleased));
    data->keyReleasedCount = 0;
    memset(data->keyPressed, 0, sizeof(data->keyPressed));
    data->keyPressedCount = 0;
    data->lastChar = 0;
    memset(data->frameRecordA, 0, sizeof(data->frameRecordA));
    memset(data->frameRecordB, 0, sizeof(data->frameRecordB));
    memset(data->mouseReleased, 0, sizeof(data->mouseReleased));
    memset(data->mousePressed, 0, sizeof(data->mousePressed));
}

Result CWorld::OnFrame()
{
    if (!m_pData)
        return RES_FAIL;
    if (m_pTimerFactor)
        IgnoreResult(m_pTimerFactor->Tick());
    if (m_pData->minimised)
        return RES_OK;
    if (Failed(Update()))
        return RES_FAIL;
    if (m_pData->renderingEnabled > 0 && m_p3DEngine && Succeeded(m_p3DEngine->BeginFrame())) {
        IgnoreResult(Render());
        IgnoreResult(m_p3DEngine->EndFrame());
    }
    ClearFrameEdges();
    return RES_OK;
}
