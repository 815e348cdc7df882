#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "base/BaseObject.h"
#include "core/PackerFile.h"
#include "base/Result.h"
#include "core/WorldData.h"
#include "platform/win32/Win32Types.h"

class C3DEngine;
class CAudioEngine;
struct CMainWindowInfo;
class CFrameTimer;
class CInputEngine;
class CMath3D;
class CNetworkEngine;
class CParamsReader;

// The host's event callback: event number and the main window.
using HostEventCallback = Result (*)(uint32_t event, WindowHandle window);

// The host's switch of the main window to windowed (0) or fullscreen (1).
using WindowModeCallback = Result (*)(CWorld* world, uint8_t fullscreen);

// Host events the game raises.
constexpr uint32_t kHostEventLoadBegin = 14;
constexpr uint32_t kHostEventLoadEnd = 15;
constexpr uint32_t kHostEventLanguage = 18;

constexpr size_t kTitleUnits = 260;

// Hands a module to the release function of the registry record that made it (deletes it
// when the record has none).
struct CModuleReleaser {
    ModuleRelease release = nullptr;
    void operator()(CBaseObject* module) const;
};

template <class Module>
using ModulePtr = std::unique_ptr<Module, CModuleReleaser>;

// One window message as the world receives it.
struct CWorldMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    uint32_t reserved[3];  // 0 from the window procedure
};

// The engine's world base: owns the data block and the chosen modules, records raw input and
// runs the frame tick. The game world derives from it and calls these from its overrides.
class CWorld : public CBaseObject {
public:
    CWorld();
    // Releases whatever Release has not, then frees the data block.
    ~CWorld() override;
    CWorld(const CWorld&) = delete;
    CWorld& operator=(const CWorld&) = delete;

    // Creates the chosen modules, applies the engine settings and sets up the 3D engine.
    virtual Result Load(WindowHandle window, uint16_t width, uint16_t height, uint8_t colorDepth, uint8_t fullscreen,
                        uint8_t resizable, uint8_t vSync, uint32_t orientation, const char16_t* dataFolder,
                        uint16_t reserved1, uint16_t reserved2);
    // Unloads and releases the modules, closes the main pak, frees the helpers. Result 0.
    virtual Result Release();
    // Records raw key and mouse state; RES_FAIL (handled) for every message.
    virtual Result OnMessage(CWorldMessage* message);
    virtual Result OnSize(uint16_t width, uint16_t height);
    virtual Result Update();
    virtual Result Render();
    // The window title; here the fallback text. The application name is not used. Result 0.
    virtual Result GetTitle(const char16_t* appName, const char16_t* fallback, char16_t* out, size_t capacity);
    // Reads the saved options before the window exists (the saved fullscreen choice goes straight
    // into the data block); language is the game's language to force, or its "none" value.
    // RES_OK when read; here there are none: RES_FAIL.
    virtual Result LoadOptions(uint32_t language);

    // Stores the readers and lookups, copies the log path and opens the main pak when asked.
    Result SetParameters(CParamsReader* engineParams, CParamsReader* gameParams, MemoryLookup memoryLookup,
                         const char16_t* pakPath, uint32_t pakStartOffset, PackerLookup pakLookup,
                         const char16_t* logPath);

    // One frame: timer, Update, begin frame, Render, end frame, clearing of the frame's edges.
    // RES_FAIL when Update failed.
    Result OnFrame();

    CWorldData* GetData() const { return m_pData; }
    C3DEngine* Get3DEngine() const { return m_p3DEngine.get(); }
    CAudioEngine* GetAudioEngine() const { return m_pAudioEngine.get(); }
    CInputEngine* GetInputEngine() const { return m_pInputEngine.get(); }
    CNetworkEngine* GetNetworkEngine() const { return m_pNetworkEngine.get(); }

    // The callback for the events the world raises to its host; null ignores them.
    void SetHostEventCallback(HostEventCallback callback);
    // The callback's result; RES_FAIL without a callback.
    Result RaiseHostEvent(uint32_t event);
    void SetWindowModeCallback(WindowModeCallback callback) { m_pfnWindowMode = callback; }
    // The callback's result; RES_FAIL without a callback.
    Result SwitchWindowMode(uint8_t fullscreen);
    void SetMainWindowInfo(CMainWindowInfo* info) { m_pMainWindowInfo = info; }
    CMainWindowInfo* GetMainWindowInfo() const { return m_pMainWindowInfo; }

protected:
    CWorldData* m_pData;
    ModulePtr<C3DEngine> m_p3DEngine;
    ModulePtr<CAudioEngine> m_pAudioEngine;
    ModulePtr<CInputEngine> m_pInputEngine;
    ModulePtr<CNetworkEngine> m_pNetworkEngine;
    std::unique_ptr<CMath3D> m_pMath3D;
    std::unique_ptr<CFrameTimer> m_pTimerFactor;
    HostEventCallback m_pfnHostEvent = nullptr;
    WindowModeCallback m_pfnWindowMode = nullptr;
    CMainWindowInfo* m_pMainWindowInfo = nullptr;

private:
    Result CreateModules();
    Result CreateHelpers();
    void LoadOptionalModules(WindowHandle window);
    Result Init3DEngine();
    void SetUpCamera();
    void ReleaseModules();
    void ClearFrameEdges();
    void OnKeyDown(WPARAM virtualKey);
    void OnKeyUp(WPARAM virtualKey);
    void OnButtonDown(int button, HWND window);
    void OnButtonUp(int button);
    void SetPointer(LPARAM lParam);
};
