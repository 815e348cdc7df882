#include "app/Startup.h"

#include <memory>

#include "app/MainWindow.h"
#include "app/ModuleRegistrations.h"
#include "app/WorldFactory.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/BuiltinSettings.h"
#include "core/Log.h"
#include "core/PackerFile.h"
#include "core/ParamsReader.h"
#include "core/PlatformTable.h"
#include "game/GameData.h"
#include "platform/win32/PlatformHarness.h"
#include "platform/win32/SessionEnd.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Window.h"
#include "world/ModuleRegistry.h"
#include "world/PlatformDialog.h"
#include "world/StartupSettings.h"
#include "world/World.h"

const char16_t kDataFolder[] = u"Data_full_Win32\\";

namespace {

constexpr char16_t kLoadingText[] = u"An error occurred while loading.\n\nThe application will now exit.";
constexpr char16_t kDataPathText[] = u"The Data path is unreachable.\n\nThe application will now exit.";
constexpr UINT kErrorBoxFlags = MB_SETFOREGROUND | MB_ICONERROR;
constexpr UINT kWarningBoxFlags = MB_SETFOREGROUND | MB_ICONWARNING;
constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 203;
constexpr size_t kCaptionUnits = 64;
constexpr size_t kBoxTextUnits = 400;
constexpr uint16_t kIconResource = 131;
constexpr uint32_t kOrientation = 1;
constexpr uint16_t kUnusedLoadWord = 0xFFFF;
constexpr UINT_PTR kFrameTimerId = 0;
constexpr size_t kKeyUnits = 64;

void ShowBox(const char16_t* captionFormat, const char16_t* text, UINT flags)
{
    char16_t caption[kCaptionUnits];
    WFormat(caption, kCaptionUnits, captionFormat, kVersionMajor, kVersionMinor);
    MessageBoxW(nullptr, text, caption, flags);
}

// The loading error box, with the data block's detail in brackets when there is one.
void ShowLoadingError(const CWorldData* data)
{
    char16_t text[kBoxTextUnits];
    if (data && data->errorDetail[0])
        WFormat(text, kBoxTextUnits, u"%s%s%s%s", kLoadingText, u"\n\n(", data->errorDetail, u")");
    else
        WStrCopy(text, kBoxTextUnits, kLoadingText);
    ShowBox(u"Error (v%d,%03d)", text, kErrorBoxFlags);
}

// One run of the program: the phases of start-up, the loop and shutdown. Whatever is still held
// when the run ends (window, class, world, readers) is let go in that order.
class CProgram {
public:
    explicit CProgram(const CProgramSetup& setup) : m_setup(setup) {}
    ~CProgram();
    CProgram(const CProgram&) = delete;
    CProgram& operator=(const CProgram&) = delete;

    int Run();

private:
    int Fail(bool withDetail, bool postQuit);
    bool AnotherCopyRuns();
    bool ReadAppName();
    bool CreateWorld();
    Result OpenMainPak();
    void RegisterModules();
    void FillSettings();
    Result Validate();
    void ApplyDefaults();
    bool RegisterWindowClass();
    Result CreateWindow();
    Result LoadWorld();
    int MainLoop();
    Result IdleFrame(uint32_t sleepMs);
    void LogSessionEnd() const;
    int Shutdown();

    CWorldData* Data() const { return m_world ? m_world->GetData() : nullptr; }

    const CProgramSetup& m_setup;
    std::unique_ptr<CParamsText> m_engineParams;
    std::unique_ptr<CParamsText> m_gameParams;
    std::unique_ptr<CWorld> m_world;
    char16_t m_appName[kAppNameUnits] = {};
    char16_t m_logPath[kMaxPathUnits] = {};
    CStartupSettings m_settings = {};
    CMainWindowInfo m_info = {};
    bool m_classRegistered = false;
};

CProgram::~CProgram()
{
    if (m_info.window)
        IgnoreResult(DestroyMainWindow(&m_info));
    if (m_classRegistered)
        UnregisterClassW(kMainWindowClass, m_setup.instance);
    m_world.reset();
    m_gameParams.reset();
    m_engineParams.reset();
}

int CProgram::Fail(bool withDetail, bool postQuit)
{
    ShowLoadingError(withDetail ? Data() : nullptr);
    if (postQuit)
        PostQuitMessage(0);
    return -1;
}

bool CProgram::AnotherCopyRuns()
{
    if (m_setup.commandLine && m_setup.commandLine[0])
        return false;
    HWND running = FindWindowW(kMainWindowClass, nullptr);
    if (!running)
        return false;
    SetForegroundWindow(running);
    ShowWindow(running, SW_SHOW);
    return true;
}

bool CProgram::ReadAppName()
{
    m_engineParams = std::make_unique<CParamsText>(m_setup.engineText, m_setup.engineLength);
    m_gameParams = std::make_unique<CParamsText>(m_setup.gameText, m_setup.gameLength);
    IgnoreResult(m_gameParams->GetString(u"PATH", u"APP_NAME", u"", m_appName, kAppNameUnits));
    return m_appName[0] != 0;
}

bool CProgram::CreateWorld()
{
    m_world.reset(m_setup.createWorld ? m_setup.createWorld() : nullptr);
    if (!Data())
        return false;
    m_world->SetHostEventCallback(OnWorldEvent);
    m_world->SetFullscreenSwitch(ToggleFullscreen);
    CGameData* game = Data()->gameData;
    if (game) {
        game->m_bForceCharsetFont = 1;
        game->m_nPlatform = 0;
    }
    return true;
}

Result CProgram::OpenMainPak()
{
    char16_t pakPath[kMaxPathUnits];
    WFormat(pakPath, kMaxPathUnits, u"%s%s_full_%s.pak", kDataFolder, m_appName, kPlatforms[0].name);
    LogPrintf(m_logPath, 0, u"# RES__PACKER build : \"%s\"\n", pakPath);
    return m_world->SetParameters(m_engineParams.get(), m_gameParams.get(), nullptr, pakPath, 0, FindPackerEntry,
                                  m_logPath);
}

// A module that cannot be registered stays unavailable; the choice among the others goes on.
void CProgram::RegisterModules()
{
    CWorld* world = m_world.get();
    const Result results[] = {RegisterModuleDX81(world), RegisterModuleOpenGL(world), RegisterModuleDirectSound(world),
                              RegisterModuleNetworkOS(world)};
    for (Result result : results) {
        if (Failed(result))
            LogPrintf(m_logPath, 1, u"# A module could not be registered (0x%08X).\n", static_cast<uint32_t>(result));
    }
}

void CProgram::FillSettings()
{
    const CParamsText& engine = *m_engineParams;
    m_settings = CStartupSettings{};
    m_settings.ask = engine.GetBool(u"WORLD", u"ASK_ME_ON_START", 0);
    m_settings.module3D = GetHarnessModule3D() ? GetHarnessModule3D() : kModuleId3DDX81;
    m_settings.moduleAudio = kModuleIdAudioDX81;
    m_settings.moduleInput = 0;
    m_settings.moduleNetwork = kModuleIdNetworkOS;
    m_settings.width = engine.GetU16(u"WORLD", u"WIDTH", 1024);
    m_settings.height = engine.GetU16(u"WORLD", u"HEIGHT", 768);
    m_settings.colorDepth = engine.GetU8(u"WORLD", u"COLOR_DEPTH", 32);
    m_settings.fullscreen = engine.GetBool(u"WORLD", u"FULLSCREEN", 1);
    m_settings.vSync = engine.GetBool(u"WORLD", u"V_SYNC_ENABLE", 1);
    m_settings.resizable = engine.GetBool(u"WORLD", u"RESIZABLE", 0);
    m_settings.orientation = kOrientation;
}

Result CProgram::Validate()
{
    CWorldData* data = Data();
    if (Succeeded(ValidateModules(m_settings.module3D, m_settings.moduleAudio, m_settings.moduleInput,
                                  m_settings.moduleNetwork, data)))
        return RES_OK;
    const uint32_t kinds[] = {kModuleAudio, kModuleNetwork, kModule3D};
    for (uint32_t kind : kinds) {
        const CModuleDescriptor* chosen = data->chosenModules[kind].descriptor;
        if (chosen)
            LogPrintf(m_logPath, 0, u"# ValidateModules failed! (\"%s\", \"%s\")\n", kDataFolder, chosen->longName);
    }
    return RES_FAIL;
}

void CProgram::ApplyDefaults()
{
    const CParamsText& game = *m_gameParams;
    const char16_t* platform = kPlatforms[0].key;
    char16_t key[kKeyUnits];
    if (!m_settings.forceSettings) {
        WFormat(key, kKeyUnits, u"DEFAULT_%s_WIDTH", platform);
        m_settings.width = static_cast<uint16_t>(game.GetU32(u"CAMERA", key, m_settings.width));
        WFormat(key, kKeyUnits, u"DEFAULT_%s_HEIGHT", platform);
        m_settings.height = static_cast<uint16_t>(game.GetU32(u"CAMERA", key, m_settings.height));
        WFormat(key, kKeyUnits, u"DEFAULT_%s_FULLSCREEN", platform);
        m_settings.fullscreen = game.GetBool(u"CAMERA", key, m_settings.fullscreen);
    }
    if (Succeeded(m_world->LoadOptions(kLanguageNone)))
        m_settings.fullscreen = Data()->fullscreen;
    if (GetKeyState(VK_SHIFT) & 0x8000)
        m_settings.fullscreen = 0;
}

bool CProgram::RegisterWindowClass()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WndProc;
    windowClass.hInstance = m_setup.instance;
    windowClass.hIcon = LoadIconW(m_setup.instance, MAKEINTRESOURCEW(kIconResource));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetStockObject(BLACK_BRUSH);
    windowClass.lpszClassName = kMainWindowClass;
    m_classRegistered = RegisterClassW(&windowClass) != 0;
    return m_classRegistered;
}

Result CProgram::CreateWindow()
{
    m_info = CMainWindowInfo{m_setup.instance, nullptr, m_setup.commandLine, m_setup.showCommand, nullptr};
    Result result = CreateMainWindow(m_world.get(), m_settings.width, m_settings.height, m_settings.fullscreen,
                                     m_settings.resizable, &m_info);
    if (Failed(result))
        return result;
    char16_t title[kTitleUnits];
    WFormat(title, kTitleUnits, u"%s - %s", kMainWindowClass, m_appName);
    SetWindowTextW(m_info.window, title);
    return RES_OK;
}

Result CProgram::LoadWorld()
{
    Result result = m_world->Load(m_info.window, m_settings.width, m_settings.height, m_settings.colorDepth,
                                  m_settings.fullscreen, m_settings.resizable, m_settings.vSync, kOrientation,
                                  kDataFolder, kUnusedLoadWord, kUnusedLoadWord);
    if (Succeeded(result))
        result = CenterMainWindow(m_world.get(), &m_info);
    if (Succeeded(result))
        result = ShowMainWindow(m_world.get(), &m_info);
    return result;
}

int CProgram::MainLoop()
{
    uint32_t frameTimer = m_engineParams->GetU32(u"WORLD", u"FRAME_TIMER", 0);
    uint32_t sleepMs = m_engineParams->GetU32(u"WORLD", u"SLEEP_TIMER", 0);
    HWND window = m_info.window;
    if (frameTimer) {
        SetTimer(window, kFrameTimerId, static_cast<UINT>(1000.0 / frameTimer), nullptr);
        sleepMs = 0;
    }
    for (;;) {
        MSG message;
        if (frameTimer) {
            // The switch between window and full screen replaces the main window and its timer.
            if (window != m_info.window) {
                window = m_info.window;
                SetTimer(window, kFrameTimerId, static_cast<UINT>(1000.0 / frameTimer), nullptr);
            }
            // The frames arrive as timer messages: wait for the next message instead of polling.
            GetMessageW(&message, nullptr, 0, 0);
        } else if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!FrameMayRun())
                continue;
            if (Failed(IdleFrame(sleepMs)))
                break;
            continue;
        }
        if (message.message == WM_QUIT || message.message == WM_CLOSE)
            break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (frameTimer)
        KillTimer(window, kFrameTimerId);
    LogSessionEnd();
    return Shutdown();
}

// A frame while the queue is empty. Minimised, a frame only advances the frame timer: the loop
// then waits for the next message instead, and the timer advances again once it came, so the
// first frame after the window is back measures an ordinary frame. Frames a harness gates run
// when it says, minimised or not.
Result CProgram::IdleFrame(uint32_t sleepMs)
{
    CWorldData* data = Data();
    // The current main window: the switch between window and full screen replaces it.
    data->minimised = IsIconic(m_info.window) ? 1 : 0;
    data->hasFocus = GetFocus() == m_info.window ? 1 : 0;
    Result result = m_world->OnFrame();
    if (Succeeded(result) && data->minimised && !AreFramesGated()) {
        WaitMessage();
        result = m_world->OnFrame();
    }
    if (Succeeded(result) && sleepMs)
        Sleep(sleepMs);
    return result;
}

void CProgram::LogSessionEnd() const
{
    const CSessionEnd end = GetSessionEnd();
    if (end.cause == SessionEndCause::Signal)
        LogPrintf(m_logPath, 1, u"# The session ends (signal %d): the program shuts down.\n", end.signal);
    else if (end.cause == SessionEndCause::DisplayLost)
        LogPrintf(m_logPath, 1, u"# The connection to the display was lost: the program shuts down.\n");
    else if (end.cause == SessionEndCause::WindowDestroyed)
        LogPrintf(m_logPath, 1, u"# Another program destroyed the window: the program shuts down.\n");
}

int CProgram::Shutdown()
{
    if (Failed(DestroyMainWindow(&m_info))) {
        ShowLoadingError(Data());
        IgnoreResult(m_world->Release());
        PostQuitMessage(0);
        return -1;
    }
    if (UnregisterClassW(kMainWindowClass, m_setup.instance))
        m_classRegistered = false;
    IgnoreResult(m_world->Release());
    m_world.reset();
    m_gameParams.reset();
    m_engineParams.reset();
    LogPrintf(m_logPath, 0, u"# ENDED.\n");
    return 0;
}

int CProgram::Run()
{
    if (AnotherCopyRuns())
        return -1;
    if (!ReadAppName()) {
        ShowBox(u"Warning (v%d,%03d)", kDataPathText, kWarningBoxFlags);
        return -1;
    }
    WFormat(m_logPath, kMaxPathUnits, u"%s..\\%s.log", kDataFolder, m_appName);
    LogPrintf(m_logPath, 0, u"# STARTED...\n");
    if (!CreateWorld())
        return Fail(false, false);
    if (Failed(OpenMainPak()))
        return Fail(true, false);
    RegisterModules();
    FillSettings();
    if (m_settings.ask && Failed(SelectPlatform(&m_settings, m_engineParams.get(), m_world.get()))) {
        ShowLoadingError(nullptr);
        LogPrintf(m_logPath, 0, u"# SelectPlatform failed! \"%s\"\n", kDataFolder);
        return -1;
    }
    if (Failed(Validate()))
        return Fail(false, false);
    ApplyDefaults();
    if (!RegisterWindowClass())
        return Fail(false, true);
    if (Failed(CreateWindow()))
        return Fail(true, true);
    if (Failed(LoadWorld())) {
        ShowLoadingError(Data());
        IgnoreResult(m_world->Release());
        PostQuitMessage(0);
        return -1;
    }
    return MainLoop();
}

} // namespace

int RunProgram(const CProgramSetup& setup)
{
    CProgram program(setup);
    return program.Run();
}

int WinMain(HINSTANCE instance, HINSTANCE, const char16_t* commandLine, int showCommand)
{
    CProgramSetup setup{instance,           commandLine,          showCommand,    kEngineSettingsText,
                        kEngineSettingsLength, kGameSettingsText, kGameSettingsLength, CreateGameWorld};
    return RunProgram(setup);
}

Result OnWorldEvent(uint32_t event, WindowHandle window)
{
    if (event != kHostEventLanguage)
        return RES_OK;
    auto handle = static_cast<HWND>(window);
    auto* world = static_cast<CWorld*>(GetPropW(handle, kWorldProperty));
    if (!world)
        return RES_OK;
    char16_t title[kTitleUnits];
    IgnoreResult(world->GetTitle(kMainWindowClass, u"", title, kTitleUnits));
    SetWindowTextW(handle, title);
    return RES_OK;
}

void OpenWithShell(const char16_t* target, uint8_t quit, CWorldData*)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = u"open";
    info.lpFile = target;
    info.nShow = SW_SHOW;
    ShellExecuteExW(&info);
    if (quit)
        PostQuitMessage(0);
}
