#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/BuiltinSettings.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "base/WideString.h"
#include "game/VadadiDazidevWorld.h"
#include "tests/app/ProgramRun.h"
#include "tests/support/platform/TestSwitches.h"
#include "platform/dialog/Win32Dialog.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Window.h"
#include "tests/support/DisplayCheck.h"
#include "tests/support/PrivateDisplay.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

namespace {

const char kLoadingBox[] = "Error (v1,203): An error occurred while loading.\n\nThe application will now exit.";

// The reporting world that also names the renderer module start-up chose.
class CRendererReportingWorld : public CReportingWorld {
public:
    Result Load(WindowHandle window, uint16_t width, uint16_t height, uint8_t depth, uint8_t fullscreen, uint8_t a,
                uint8_t b, uint32_t c, const char16_t* d, uint16_t e, uint16_t f) override
    {
        const CModuleDescriptor* chosen = GetData()->chosenModules[kModule3D].descriptor;
        fprintf(stderr, "renderer %u\n", chosen ? chosen->id : 0u);
        return CReportingWorld::Load(window, width, height, depth, fullscreen, a, b, c, d, e, f);
    }
};

// A whole "options.sav" of that version with the full-screen choice, language 3, the brightness
// and all else zero.
std::string Options(uint16_t version, uint8_t fullscreen, uint8_t brightness = 127)
{
    std::string bytes(322, '\0');
    bytes[0] = static_cast<char>(version);
    bytes[2] = 2;
    bytes[3] = static_cast<char>(fullscreen);
    bytes[4] = 3;
    bytes[17] = static_cast<char>(brightness);
    bytes[18] = bytes[83] = bytes[148] = 2;  // the name markers
    return bytes;
}

// The reporting world that also tells whether its release saved the options of a windowed run.
class CSavingWorld : public CReportingWorld {
public:
    Result Release() override
    {
        Result result = CReportingWorld::Release();
        std::string file = std::string(getenv("APPDATA")) + "/Kvo Adventure/VadadiDazidev/VadadiDazidev.v1.options.sav";
        fprintf(stderr, "saved %s\n", TempDir::Read(file) == Options(12, 0) ? "as read" : "otherwise");
        return result;
    }
};

CWorld* MakeSavingWorld()
{
    return new CSavingWorld();
}

// A world that replaces its main window on the first frame, as the switch between window and full
// screen does, and reports the focus flag of each frame.
class CWindowReplacingWorld : public CReportingWorld {
public:
    Result Update() override
    {
        CMainWindowInfo* info = GetMainWindowInfo();
        const bool replace = m_frames++ == 0;
        if (replace && (Failed(DestroyMainWindow(info)) || Failed(CreateMainWindow(this, 640, 480, 0, 32, info)) ||
                        Failed(ShowMainWindow(this, info))))
            return RES_FAIL;
        fprintf(stderr, "focus %u\n", GetData()->hasFocus);
        return CReportingWorld::Update();
    }

private:
    int m_frames = 0;
};

// A world that presses Alt+F4 on its first frame, as a user would, and gives up after many more.
class CAltF4World : public CReportingWorld {
public:
    Result Update() override
    {
        ++m_frames;
        if (m_frames == 1)
            fprintf(stderr, "Alt+F4 %s\n", PressKeyChord({"Alt_L", "F4"}) ? "pressed" : "not pressed");
        if (m_frames < kGiveUpFrames)
            return RES_OK;
        fprintf(stderr, "still running\n");
        return RES_FAIL;
    }

private:
    static constexpr int kGiveUpFrames = 3000;  // 30 s of frames
    int m_frames = 0;
};

CWorld* MakeAltF4World()
{
    return new CAltF4World();
}

uint64_t g_clock = 0;

uint64_t RunningClock()
{
    g_clock += 5000000;
    return g_clock;
}

uint32_t g_slept = 0;
uint32_t g_idleSleeps = 0;  // sleeps of the SLEEP_TIMER length the tests set
constexpr uint32_t kIdleSleepMs = 15;

void CountSleep(uint32_t milliseconds)
{
    g_slept += milliseconds;
    g_idleSleeps += milliseconds == kIdleSleepMs ? 1 : 0;
}

// Runs the built program in a folder with VD_HEADLESS=1; its standard error and exit code.
int RunBinary(const std::string& folder, std::string* errors)
{
    const char* binaryDir = getenv("VD_BINARY_DIR");
    std::string binary = std::string(binaryDir ? binaryDir : ".") + "/VadadiDazidev";
    std::string errorFile = folder + "/stderr.txt";
    pid_t child = fork();
    if (child == 0) {
        FILE* out = freopen(errorFile.c_str(), "w", stderr);
        if (!out || chdir(folder.c_str()) != 0)
            _exit(97);
        setenv("VD_HEADLESS", "1", 1);
        setenv("APPDATA", folder.c_str(), 1);
        execl(binary.c_str(), binary.c_str(), "second-copy-allowed", static_cast<char*>(nullptr));
        _exit(96);
    }
    int status = 0;
    waitpid(child, &status, 0);
    *errors = TempDir::Read(errorFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST_F(StartupTest, TheProgramWithoutItsMainPakShowsTheMissingFile)
{
    TempDir dir;
    std::string errors;
    EXPECT_EQ(RunBinary(dir.Path(), &errors), 255);
    EXPECT_NE(errors.find(std::string(kLoadingBox) + "\n\n(Missing file: Data_full_Win32\\VadadiDazidev_full_Win32.pak)"),
              std::string::npos)
        << errors;
}

TEST_F(StartupTest, ACancelledDialogEndsWithThePlainBox)
{
    static const CDialogScriptStep kClose[] = {{DialogStepKind::Close, 0, 0, nullptr}};
    static const CDialogScript kScript{kClose, 1, nullptr, nullptr, nullptr, false};
    EXPECT_EXIT(
        {
            SetDialogScript(&kScript);
            exit(RunDefault(EngineText("ASK_ME_ON_START = 1\n")));
        },
        testing::ExitedWithCode(255), Output({std::string(kLoadingBox) + "\n"}, {"\n\n(", "Load "}));
}

TEST_F(StartupTest, ShiftHeldForcesAWindowAndTheProgramRunsFramesToTheEnd)
{
    REQUIRE_DISPLAY();
    EXPECT_EXIT(
        {
            SetShiftHeldAtStart(true);
            exit(RunDefault(kBuiltinEngine));
        },
        testing::ExitedWithCode(0), Has("Load 1024x768 fullscreen=0\nframe 1\nframe 2\nframe 3\nRelease\n"));
}

TEST_F(StartupTest, OnlyTheTestSwitchChangesStartUpsRenderer)
{
    REQUIRE_DISPLAY();
    for (const char* module : {static_cast<const char*>(nullptr), "4"}) {
        EXPECT_EXIT(
            {
                ScopedEnv renderer("VD_MODULE_3D", module);
                ResetTestSwitches();
                SetShiftHeldAtStart(true);
                exit(RunDefault(kBuiltinEngine, [] { return static_cast<CWorld*>(new CRendererReportingWorld()); }));
            },
            testing::ExitedWithCode(0), Has(module ? "renderer 4\n" : "renderer 2\n"));
    }
}

TEST_F(StartupTest, WithoutShiftTheGameDefaultsChooseFullscreen)
{
    REQUIRE_DISPLAY();
    EXPECT_EXIT(exit(RunDefault(EngineText("FULLSCREEN = 0\nWIDTH = 800\n"))), testing::ExitedWithCode(0),
                Has("Load 1024x768 fullscreen=1\n"));
}

TEST_F(StartupTest, TheSavedOptionsDecideFullscreen)
{
    REQUIRE_DISPLAY();
    // The run writes at its end what it read at its start (the brightness always as 127).
    EXPECT_EXIT(exit(RunDefault(kBuiltinEngine, MakeSavingWorld, Options(12, 0, 40))), testing::ExitedWithCode(0),
                Output({"Load 1024x768 fullscreen=0\n", "saved as read\n"}));
    std::string foreign = Options(11, 0);
    EXPECT_EXIT(exit(RunDefault(kBuiltinEngine, MakeReportingWorld, foreign)), testing::ExitedWithCode(0),
                Has("Load 1024x768 fullscreen=1\n"));
}

TEST_F(StartupTest, ForceSettingsKeepsTheDialogsSizeButNotAgainstSavedOptions)
{
    REQUIRE_DISPLAY();
    static const CDialogScriptStep kForce[] = {
        {DialogStepKind::Select, 1027, 9, nullptr},
        {DialogStepKind::Check, 1029, 1, nullptr},
        {DialogStepKind::Click, 1, 0, nullptr},
    };
    static const CDialogScript kScript{kForce, 3, nullptr, nullptr, nullptr, false};
    std::string windowed = Options(12, 0);
    EXPECT_EXIT(
        {
            SetDialogScript(&kScript);
            exit(RunDefault(EngineText("ASK_ME_ON_START = 1\n"), MakeReportingWorld, windowed));
        },
        testing::ExitedWithCode(0), Has("Load 640x480 fullscreen=0\n"));
    static const CDialogScript kAcceptOnly{kForce + 2, 1, nullptr, nullptr, nullptr, false};
    EXPECT_EXIT(
        {
            SetDialogScript(&kAcceptOnly);
            exit(RunDefault(EngineText("ASK_ME_ON_START = 1\nWIDTH = 640\nHEIGHT = 480\n")));
        },
        testing::ExitedWithCode(0), Has("Load 1024x768 fullscreen=1\n"));
}

TEST_F(StartupTest, AnEmptyAppNameStopsWithTheDataPathWarning)
{
    std::string game = "[PATH]\nAPP_NAME = \n";
    EXPECT_EXIT(exit(RunInFreshFolder(kBuiltinEngine, game, u"test", MakeReportingWorld)), testing::ExitedWithCode(255),
                Has("Warning (v1,203): The Data path is unreachable.\n\nThe application will now exit.\n"));
}

TEST_F(StartupTest, ARunningCopyIsBroughtForwardOnlyWithAnEmptyCommandLine)
{
    EXPECT_EXIT(
        {
            SetInstanceScope(std::to_string(getpid()).c_str());
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = DefWindowProcW;
            windowClass.lpszClassName = u"Kvo Adventure";
            RegisterClassW(&windowClass);
            HWND running = CreateWindowExW(0, u"Kvo Adventure", u"running", 0, 0, 0, 32, 32, nullptr, nullptr, nullptr,
                                           nullptr);
            fprintf(stderr, "BEGIN %d\n", running != nullptr);
            int result = RunInFreshFolder(kBuiltinEngine, std::string(kGameSettingsText, kGameSettingsLength), u"",
                                          MakeReportingWorld, "", false);
            fprintf(stderr, "END %d visible %d\n", result, IsWindowVisible(running));
            exit(0);
        },
        testing::ExitedWithCode(0), Output({"BEGIN 1\nEND -1 visible 1\n"}, {"Error (", "Load "}));
}

// The loop may wait for the timer's messages, but never sleeps the idle sleep.
TEST_F(StartupTest, AFrameTimerDrivesTheFramesFromTheWindowProcedure)
{
    REQUIRE_DISPLAY();
    EXPECT_EXIT(
        {
            SetTestClock(RunningClock);
            SetSleepHook(CountSleep);
            int result = RunDefault(EngineText("FRAME_TIMER = 60\nSLEEP_TIMER = 15\n"));
            fprintf(stderr, "idle sleeps %u\n", g_idleSleeps);
            exit(result);
        },
        testing::ExitedWithCode(0), Has("frame 3\nRelease\nidle sleeps 0\n"));
}

// On a display of its own, so that the keys reach no other test's window.
TEST_F(StartupTest, AltF4EndsTheProgramWithItsNormalShutdown)
{
    if (!PrivateDisplay::ServerInstalled())
        GTEST_SKIP() << "needs Xvfb";
    EXPECT_EXIT(exit(RunOnPrivateDisplay(EngineText("FRAME_TIMER = 100\n"), MakeAltF4World)),
                testing::ExitedWithCode(0), Output({"Alt+F4 pressed\nRelease\n"}, {"still running", "Error ("}));
}

TEST_F(StartupTest, TheFocusFlagFollowsAReplacedMainWindow)
{
    REQUIRE_DISPLAY();
    EXPECT_EXIT(exit(RunDefault(kBuiltinEngine, []() -> CWorld* { return new CWindowReplacingWorld(); })),
                testing::ExitedWithCode(0), Has("frame 1\nfocus 1\nframe 2\nfocus 1\nframe 3\nRelease\n"));
    // Frames driven by the timer go on after the window that held it is gone.
    EXPECT_EXIT(exit(RunDefault(EngineText("FRAME_TIMER = 100\n"), []() -> CWorld* { return new CWindowReplacingWorld(); })),
                testing::ExitedWithCode(0), Has("frame 3\nRelease\n"));
}

TEST_F(StartupTest, TheIdleLoopSleepsBetweenFrames)
{
    REQUIRE_DISPLAY();
    EXPECT_EXIT(
        {
            SetSleepHook(CountSleep);
            int result = RunDefault(EngineText("SLEEP_TIMER = 15\n"));
            fprintf(stderr, "slept %u in %u\n", g_slept, g_idleSleeps);
            exit(result);
        },
        testing::ExitedWithCode(0), Has("frame 3\nRelease\nslept 30 in 2\n"));
}

TEST_F(StartupTest, TheLanguageEventRetitlesTheWindow)
{
    REQUIRE_DISPLAY();
    class CTitledWorld : public CVadadiDazidevWorld {
    public:
        Result GetTitle(const char16_t*, const char16_t*, char16_t* out, size_t capacity) override
        {
            WStrCopy(out, capacity, u"Localized title");
            return RES_OK;
        }
    };
    SetInstanceScope(std::to_string(getpid()).c_str());
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = u"StartupTitle";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, u"StartupTitle", u"before", 0, 0, 0, 32, 32, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    CTitledWorld world;
    SetPropW(window, u"pWorld", &world);
    char16_t title[64];
    EXPECT_EQ(OnWorldEvent(14, window), RES_OK);
    GetWindowTextW(window, title, 64);
    EXPECT_EQ(std::u16string(title), u"before");
    EXPECT_EQ(OnWorldEvent(18, window), RES_OK);
    GetWindowTextW(window, title, 64);
    EXPECT_EQ(std::u16string(title), u"Localized title");
    RemovePropW(window, u"pWorld");
}

TEST_F(StartupTest, WebLinksOpenWithoutAShellAndMayQuit)
{
    TempDir dir;
    std::string log = dir.File("arguments.txt");
    std::string launcher =
        dir.Write("launcher.sh", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + log + "'; done\n");
    chmod(launcher.c_str(), 0755);
    SetShellLauncher(launcher.c_str());
    std::u16string url = u"http://example.test/?a=1&b=$(id)";
    OpenWithShell(url.c_str(), 0, nullptr);
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    OpenWithShell(url.c_str(), 1, nullptr);
    EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(ReapShellChildren(true), 0);
    EXPECT_EQ(TempDir::Read(log), Utf16ToUtf8(url) + "\n" + Utf16ToUtf8(url) + "\n");
}
